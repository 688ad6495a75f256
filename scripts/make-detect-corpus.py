#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the corpus on which detection is measured: Russian prose written by people
# (the Russian fortune collection of the package fortunes-ru, never used for the
# detection tables), as short lines of 20 to 120 characters and as whole documents,
# each written in CP866, Windows-1251, KOI8-R, Macintosh Cyrillic, ISO 8859-5 and UTF-8
# by quillet-conv's own converters.
#
#   scripts/make-detect-corpus.py [--lines N] [--docs N] [--seed S] CONV OUTDIR
#   scripts/make-detect-corpus.py --sample N OUTFILE     (UTF-8 lines for the unit tests)
#
# OUTDIR/{lines,docs}/{dos,win,koi,mac,iso,utf8}/NNNN.txt; the same NNNN is the same text.
# Typographic quotes, dashes and the ellipsis become their ASCII forms and texts with
# letters of other alphabets are left out, so that every code page holds each text exactly.
import argparse
import os
import random
import re
import subprocess
import sys
import tempfile

FORTUNES = "/usr/share/games/fortunes/ru"
ENCODINGS = ["dos", "win", "koi", "mac", "iso", "utf8"]
ALLOWED = re.compile(r"^[\t\n\x20-\x7eА-Яа-яЁё]*$")
REPLACE = {"«": '"', "»": '"', "“": '"', "”": '"', "„": '"', "‘": "'", "’": "'", "—": "-", "–": "-",
           "−": "-", "…": "...", "№": "N", "\u00a0": " ", "\r": ""}


def normalize(text):
    for a, b in REPLACE.items():
        text = text.replace(a, b)
    return text if ALLOWED.match(text) else None


def fortunes():
    """Each fortune collection as a list of its entries, in a fixed order."""
    if not os.path.isdir(FORTUNES):
        sys.exit(f"{FORTUNES} is missing: install the package fortunes-ru")
    for name in sorted(os.listdir(FORTUNES)):
        path = os.path.join(FORTUNES, name)
        if os.path.islink(path) or not os.path.isfile(path) or name.endswith((".dat", ".u8")):
            continue
        with open(path, encoding="utf-8", errors="replace") as f:
            entries = [e.strip("\n") for e in re.split(r"^%$", f.read(), flags=re.M)]
        yield [e for e in entries if e.strip()]


def is_prose(line):
    cyr = len(re.findall("[А-Яа-яЁё]", line))
    lat = len(re.findall("[A-Za-z]", line))
    return cyr >= 10 and cyr >= 3 * lat and not line.lstrip().startswith("--")


def short_lines(collections, count, rng):
    seen, pool = set(), []
    for entries in collections:
        for e in entries:
            for line in e.split("\n"):
                line = normalize(line.strip())
                if line and 20 <= len(line) <= 120 and is_prose(line) and line not in seen:
                    seen.add(line)
                    pool.append(line)
    rng.shuffle(pool)
    return pool[:count]


def documents(collections, count, rng):
    """Runs of consecutive entries of one collection, from a few hundred bytes to tens of KB."""
    docs = []
    for entries in collections:
        kept = [n for n in (normalize(e) for e in entries) if n]
        at = 0
        while at + 3 <= len(kept):
            n = rng.choice((3, 8, 20, 60, 200))
            docs.append("\r\n%\r\n".join(k.replace("\n", "\r\n") for k in kept[at:at + n]) + "\r\n")
            at += n
    rng.shuffle(docs)
    return docs[:count]


def write_encoded(conv, texts, outdir):
    """Writes the texts in Windows-1251, then lets quillet-conv write every other page."""
    mark = b"\x01\x02\x03\x04"
    with tempfile.TemporaryDirectory() as tmp:
        win = os.path.join(tmp, "win")
        with open(win, "wb") as f:
            f.write(mark.join(t.encode("cp1251") for t in texts))
        for enc in ENCODINGS:
            target = os.path.join(tmp, enc)
            if enc == "win":
                target = win
            else:
                subprocess.run([conv, "convert", "--from", "win", "--to", enc, win, target], check=True)
            with open(target, "rb") as f:
                parts = f.read().split(mark)
            if len(parts) != len(texts):
                sys.exit(f"{enc}: {len(parts)} texts came back, {len(texts)} went in")
            d = os.path.join(outdir, enc)
            os.makedirs(d, exist_ok=True)
            for i, p in enumerate(parts):
                with open(os.path.join(d, f"{i:04d}.txt"), "wb") as f:
                    f.write(p)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--lines", type=int, default=1000)
    ap.add_argument("--docs", type=int, default=300)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--sample", type=int, default=0)
    ap.add_argument("args", nargs="+")
    a = ap.parse_args()
    rng = random.Random(a.seed)
    collections = list(fortunes())
    if a.sample:
        # The unit tests' sample is drawn with another seed than the measuring corpus.
        lines = short_lines(collections, a.sample, random.Random(a.seed + 1000))
        with open(a.args[0], "w", encoding="utf-8") as f:
            f.write("# SPDX-License-Identifier: GPL-2.0-or-later\n"
                    f"# Lines of the Russian fortune collection (Debian package fortunes-ru), drawn by\n"
                    f"# scripts/make-detect-corpus.py --sample {a.sample}\n")
            f.write("\n".join(lines) + "\n")
        return
    conv, outdir = a.args
    write_encoded(conv, short_lines(collections, a.lines, rng), os.path.join(outdir, "lines"))
    write_encoded(conv, documents(collections, a.docs, rng), os.path.join(outdir, "docs"))


if __name__ == "__main__":
    main()
