#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times quillet-conv against iconv (convert) and against uchardet and enca (detect) on
# a generated Russian text of 64 MB: whole processes, several runs, medians, ratios.
# QUILLET_BENCH_MB sets the size (at least 50), QUILLET_BENCH_RUNS the runs per tool.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_BUILD_DIR:-$here/build}
conv=$build/src/tools/quillet-conv
size_mb=${QUILLET_BENCH_MB:-64}
runs=${QUILLET_BENCH_RUNS:-5}
((size_mb >= 50)) || { echo "QUILLET_BENCH_MB must be 50 or more" >&2; exit 2; }
for tool in "$conv" iconv uchardet enca perl; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (run scripts/setup.sh)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quillet-bench-conv.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Words drawn with Russian letter frequencies, Windows-1251, CR LF lines of about
# 70 characters; 8 MB of it repeated up to the size asked for.
perl -e '
  srand(1);
  my @freq = (81,17,44,17,31,83,11,17,67,12,34,50,32,66,111,29,45,53,62,29,2,9,4,15,9,4,0,18,18,3,6,21);
  my @pool; for my $k (0..31) { push @pool, (chr(0xE0 + $k)) x $freq[$k] } push @pool, (chr(0xB8)) x 2;
  my @words; for (1..20000) { my $n = 1 + int(rand(9)); push @words, join("", map { $pool[rand @pool] } 1..$n) }
  my ($out, $line, $cap) = ("", "", 1);
  while (length($out) < 8 * 1024 * 1024) {
    my $w = $words[rand @words];
    if ($cap) { my $c = ord(substr($w, 0, 1)); substr($w, 0, 1) = chr($c == 0xB8 ? 0xA8 : $c - 0x20); $cap = 0 }
    my $r = rand(100); if ($r < 8) { $w .= "," } elsif ($r < 14) { $w .= "."; $cap = 1 }
    if (length($line) + length($w) > 70) { $out .= "$line\r\n"; $line = $w } else { $line .= ($line eq "" ? "" : " ") . $w }
  }
  binmode STDOUT; print $out;' > "$work/chunk.txt"
: > "$work/win.txt"
while (( $(stat -c %s "$work/win.txt") < size_mb * 1024 * 1024 )); do cat "$work/chunk.txt" >> "$work/win.txt"; done
iconv -f CP1251 -t CP866 "$work/win.txt" > "$work/dos.txt"
iconv -f CP1251 -t KOI8-R "$work/win.txt" > "$work/koi.txt"
iconv -f CP1251 -t UTF-8 "$work/win.txt" > "$work/utf8.txt"
bytes=$(stat -c %s "$work/dos.txt")

# Median wall time in seconds of a command run $runs times after one warm-up.
median() {
  "$@" > /dev/null 2>&1
  local times=() i t0 t1
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N); "$@" > /dev/null 2>&1; t1=$(date +%s%N)
    times+=("$(( (t1 - t0) / 1000 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "%.4f", a[int((NR + 1) / 2)] / 1e6 }'
}

row() { # task, quillet seconds, peer name, peer seconds
  awk -v task="$1" -v q="$2" -v peer="$3" -v p="$4" -v mb="$bytes" 'BEGIN {
    printf "%-22s quillet-conv %8.4f s %8.1f MB/s | %-9s %8.4f s %8.1f MB/s | quillet-conv takes %5.3f of %s time\n",
      task, q, mb / 1e6 / q, peer, p, mb / 1e6 / p, q / p, peer }'
}

echo "Text: $bytes bytes per file, $runs runs each, medians of whole-process wall time"
echo

q=$(median "$conv" convert --from dos --to koi "$work/dos.txt" "$work/q1.txt")
i=$(median sh -c 'iconv -f CP866 -t KOI8-R "$1" > "$2"' sh "$work/dos.txt" "$work/i1.txt")
cmp -s "$work/q1.txt" "$work/i1.txt" && same1=same || same1=DIFFERENT
row "convert DOS->KOI8-R" "$q" iconv "$i"

q=$(median "$conv" convert --from koi --to win "$work/koi.txt" "$work/q2.txt")
i=$(median sh -c 'iconv -f KOI8-R -t CP1251 "$1" > "$2"' sh "$work/koi.txt" "$work/i2.txt")
cmp -s "$work/q2.txt" "$work/i2.txt" && same2=same || same2=DIFFERENT
row "convert KOI8-R->Win" "$q" iconv "$i"

# UTF-8 is about twice the bytes of the single-byte files: the MB/s are of those.
q=$(median "$conv" convert --from win --to utf8 "$work/win.txt" "$work/q3.txt")
i=$(median sh -c 'iconv -f CP1251 -t UTF-8 "$1" > "$2"' sh "$work/win.txt" "$work/i3.txt")
cmp -s "$work/q3.txt" "$work/i3.txt" && same3=same || same3=DIFFERENT
row "convert Win->UTF-8" "$q" iconv "$i"

q=$(median "$conv" convert --from utf8 --to koi "$work/utf8.txt" "$work/q4.txt")
i=$(median sh -c 'iconv -f UTF-8 -t KOI8-R "$1" > "$2"' sh "$work/utf8.txt" "$work/i4.txt")
cmp -s "$work/q4.txt" "$work/i4.txt" && same4=same || same4=DIFFERENT
row "convert UTF-8->KOI8-R" "$q" iconv "$i"
echo "outputs against iconv's: DOS->KOI8-R $same1, KOI8-R->Win $same2, Win->UTF-8 $same3, UTF-8->KOI8-R $same4"
echo

for f in dos koi win utf8; do
  q=$(median "$conv" detect "$work/$f.txt")
  u=$(median uchardet "$work/$f.txt")
  e=$(median enca -L ru "$work/$f.txt")
  row "detect $f" "$q" uchardet "$u"
  row "detect $f" "$q" "enca" "$e"
  echo "  answers: quillet-conv: $("$conv" detect "$work/$f.txt" | cut -f2-)" \
       "| uchardet: $(uchardet "$work/$f.txt") | enca: $(enca -L ru "$work/$f.txt" | head -1)"
done
