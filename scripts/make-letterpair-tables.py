#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds src/encoding/letterpairtables.h: what each byte of the five single-byte Russian
# code pages reads as (a letter with its case, or a kind of non-letter), and the cost of
# every pair of such readings in Russian text, learnt offline from the Russian texts
# that Debian packages install (nothing is downloaded; none of them is a build
# dependency). Run it again to refresh the table; its output is committed.
#
#   scripts/make-letterpair-tables.py [--list-sources] [OUT]
#
# Sources, each read if present:
#   - message translations: msgstr of /usr/share/locale/ru/LC_MESSAGES/*.mo (msgunfmt)
#   - Russian manual pages: /usr/share/man/ru/*/*.gz (package manpages-ru and others),
#     troff requests and escapes stripped
#   - the Debian FAQ in Russian: /usr/share/doc/debian/FAQ/debian-faq.ru.txt.gz
#   - our own Russian translation, resources/translations/quillet_ru.ts
#   - DOS tables drawn here around words of the texts above, so that box drawing
#     has statistics of its own
import glob
import gzip
import math
import os
import pickle
import random
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Token layout: 0..32 small letters (ё, а..я), 33..65 capitals (Ё, А..Я), then classes.
SMALL = "ёабвгдежзийклмнопрстуфхцчшщъыьэюя"
CAPITAL = SMALL.upper()
# Start is where a text begins; no byte reads as it.
CLASSES = ["Space", "LineBreak", "Start", "SentenceEnd", "Comma", "Quote", "Open", "Close", "CurlyQuote",
           "SingleQuote", "Hyphen", "Dash", "Digit", "Latin", "Symbol", "Sign", "BoxHorizontal", "BoxVertical",
           "BoxCorner", "Foreign"]
NTOK = 66 + len(CLASSES)
SPACE = 66
LINEBREAK = 67
START = 68


def cls(name):
    return 66 + CLASSES.index(name)


# Typographic signs that Russian texts do use; other symbols beyond ASCII are Foreign.
SIGNS = "\u2116\u00a7\u00b0\u00a9\u00ae\u2022\u00b7\u2219\u00b1\u00a0\u00ad"


def token(ch):
    i = SMALL.find(ch)
    if i >= 0:
        return i
    i = CAPITAL.find(ch)
    if i >= 0:
        return 33 + i
    o = ord(ch)
    if ch in " \t\f\v":
        return SPACE
    if ch in "\r\n":
        return LINEBREAK
    if ch in ".!?\u2026":
        return cls("SentenceEnd")
    if ch in ",;:":
        return cls("Comma")
    if ch in "\"'`":
        return cls("Quote")
    if ch in "([{\u00ab":
        return cls("Open")
    if ch in ")]}\u00bb":
        return cls("Close")
    if ch in "\u201c\u201d\u201e":
        return cls("CurlyQuote")
    if ch in "\u2018\u2019\u201a\u2039\u203a":
        return cls("SingleQuote")
    if ch in "-\u2010\u2011":
        return cls("Hyphen")
    if ch in "\u2013\u2014\u2012\u2212":
        return cls("Dash")
    if "0" <= ch <= "9":
        return cls("Digit")
    if ("a" <= ch <= "z") or ("A" <= ch <= "Z"):
        return cls("Latin")
    if 0x20 < o < 0x7F:
        return cls("Symbol")
    if ch in SIGNS:
        return cls("Sign")
    if ch in "\u2500\u2501\u2550\u2580\u2584":
        return cls("BoxHorizontal")
    if ch in "\u2502\u2503\u2551\u258c\u2590":
        return cls("BoxVertical")
    if 0x2500 <= o <= 0x259F or ch == "\u25a0":
        return cls("BoxCorner")
    return cls("Foreign")


CODECS = [("Dos", "cp866"), ("Win", "cp1251"), ("Koi", "koi8_r"), ("Mac", "mac_cyrillic"), ("Iso", "iso8859_5")]


def page_tokens(codec):
    out = []
    for b in range(256):
        try:
            ch = bytes([b]).decode(codec)
        except UnicodeDecodeError:
            ch = "\ufffd"
        if b < 0x20 and ch not in "\t\r\n\f\v":
            out.append(cls("Foreign"))
        else:
            out.append(token(ch))
    return out


def mo_texts():
    for path in sorted(glob.glob("/usr/share/locale/ru/LC_MESSAGES/*.mo")):
        try:
            po = subprocess.run(["msgunfmt", path], capture_output=True, text=True, check=True).stdout
        except (OSError, subprocess.CalledProcessError, UnicodeDecodeError):
            continue
        cur, inside = [], False
        for line in po.splitlines():
            if line.startswith("msgstr"):
                inside = True
                cur = [line.split(" ", 1)[1] if " " in line else '""']
            elif inside and line.startswith('"'):
                cur.append(line)
            else:
                if inside and cur:
                    yield unquote(cur)
                inside, cur = False, []
        if inside and cur:
            yield unquote(cur)


def unquote(parts):
    s = "".join(p.strip()[1:-1] for p in parts if len(p.strip()) >= 2)
    return s.replace("\\n", "\n").replace("\\t", "\t").replace('\\"', '"').replace("\\\\", "\\")


TROFF_ESCAPE = re.compile(r"\\f[BIRP1-4]|\\f\(..|\\f\[[^]]*\]|\\[,/&|^%]|\\s[-+]?\d+|\\\*\(..|\\\*.|\\\(..|\\\[[^]]*\]")


def man_texts():
    for path in sorted(glob.glob("/usr/share/man/ru/*/*.gz")):
        try:
            text = gzip.open(path, "rt", encoding="utf-8", errors="replace").read()
        except OSError:
            continue
        lines = []
        for line in text.splitlines():
            if line.startswith((".\\\"", "'\\\"")):
                continue
            if line.startswith("."):
                parts = line.split(None, 1)
                if len(parts) == 2 and parts[0] in (".B", ".I", ".BR", ".IR", ".RB", ".BI", ".IB", ".RI"):
                    line = parts[1].replace('"', "")
                elif len(parts) == 2 and parts[0] in (".SH", ".SS"):
                    line = "\n" + parts[1].replace('"', "") + "\n"
                else:
                    line = ""  # paragraph requests end a paragraph
            line = TROFF_ESCAPE.sub("", line).replace("\\-", "-").replace("\\e", "\\").replace("\\ ", " ")
            lines.append(line)
        yield "\n".join(lines)


def faq_texts():
    path = "/usr/share/doc/debian/FAQ/debian-faq.ru.txt.gz"
    if os.path.exists(path):
        yield gzip.open(path, "rt", encoding="utf-8", errors="replace").read()


def ts_texts():
    path = os.path.join(ROOT, "resources", "translations", "quillet_ru.ts")
    if os.path.exists(path):
        for tr in ET.parse(path).getroot().iter("translation"):
            if tr.text:
                yield tr.text


def dos_tables(words, count, rng):
    """Pseudo-graphic tables of the kind DOS programs drew, with words in the cells."""
    out = []
    for _ in range(count):
        double = rng.random() < 0.4
        h, v = ("\u2550", "\u2551") if double else ("\u2500", "\u2502")
        tl, tr, bl, br, tee, cross, btee, ltee, rtee = (
            ("\u2554", "\u2557", "\u255a", "\u255d", "\u2566", "\u256c", "\u2569", "\u2560", "\u2563") if double else
            ("\u250c", "\u2510", "\u2514", "\u2518", "\u252c", "\u253c", "\u2534", "\u251c", "\u2524"))
        widths = [rng.randint(4, 18) for _ in range(rng.randint(2, 4))]
        top = tl + tee.join(h * w for w in widths) + tr
        mid = ltee + cross.join(h * w for w in widths) + rtee
        bottom = bl + btee.join(h * w for w in widths) + br
        rows = [top]
        for r in range(rng.randint(1, 5)):
            cells = []
            for w in widths:
                word = rng.choice(words)[: w - 1] if rng.random() < 0.8 else str(rng.randint(1, 9999))[: w - 1]
                cells.append((" " + word).ljust(w))
            rows.append(v + v.join(cells) + v)
            rows.append(mid)
        rows[-1] = bottom
        out.append("\r\n".join(rows) + "\r\n")
    return out


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    out_path = args[0] if args else os.path.join(ROOT, "src", "encoding", "letterpairtables.h")
    cache = os.environ.get("QUILLET_TABLE_SOURCES")  # a pickle of the sources, to try changes fast
    if cache and os.path.exists(cache):
        with open(cache, "rb") as f:
            sources = pickle.load(f)
    else:
        sources = {"translations": list(mo_texts()), "manuals": list(man_texts()), "faq": list(faq_texts()),
                   "quillet": list(ts_texts())}
        if cache:
            with open(cache, "wb") as f:
                pickle.dump(sources, f)
    # Keep only text with Russian in it: English msgstr and untranslated pages teach nothing.
    cyr = re.compile("[а-яё]", re.I)
    texts = []
    stats = {}
    for name, items in sources.items():
        kept = [t for t in items if len(cyr.findall(t)) * 3 >= len(re.findall("[A-Za-zА-Яа-яЁё]", t)) > 0]
        stats[name] = (len(kept), sum(len(t) for t in kept))
        texts.extend(kept)
    # Each paragraph is a text of its own: its first letter is where a text starts.
    texts = [p for t in texts for p in re.split(r"\n[ \t]*\n", t) if p.strip()]
    rng = random.Random(28)
    words = [w for t in texts for w in re.findall("[А-Яа-яЁё]{3,}", t)][:200000]
    tables = dos_tables(words, 1500, rng)
    stats["tables"] = (len(tables), sum(len(t) for t in tables))
    texts.extend(tables)
    if "--list-sources" in sys.argv:
        for k, (n, c) in stats.items():
            print(f"{k}: {n} texts, {c} characters")

    counts = [[0] * NTOK for _ in range(NTOK)]
    for t in texts:
        prev = START
        for ch in t:
            cur = token(ch)
            counts[prev][cur] += 1
            prev = cur
        counts[prev][LINEBREAK] += 1

    # Backing off: letter pairs without case, and how often a letter is a capital after
    # each kind of token; a pair never seen still gets a cost from these.
    def fold(t):
        return t - 33 if 33 <= t < 66 else t

    nfold = 33 + len(CLASSES)

    def fidx(t):
        f = fold(t)
        return f if f < 33 else f - 33

    fcounts = [[0.0] * nfold for _ in range(nfold)]
    capital_after = [[0, 0] for _ in range(NTOK)]
    for a in range(NTOK):
        for b in range(NTOK):
            fcounts[fidx(a)][fidx(b)] += counts[a][b]
            if b < 66:
                capital_after[a][1 if b >= 33 else 0] += counts[a][b]

    def context(a):
        return 0 if a < 33 else 1 if a < 66 else a

    case_ctx = {}
    for a in range(NTOK):
        c = context(a)
        s, u = case_ctx.get(c, (0, 0))
        case_ctx[c] = (s + capital_after[a][0], u + capital_after[a][1])

    def p_backoff(a, b):
        row = fcounts[fidx(a)]
        p = (row[fidx(b)] + 0.01) / (sum(row) + 0.01 * nfold)
        if b < 66:
            s, u = case_ctx[context(a)]
            pu = (u + 0.5) / (s + u + 1.0)
            p *= pu if b >= 33 else 1 - pu
        return p

    K = 20.0
    scale = 8  # eighths of a bit
    cost = []
    for a in range(NTOK):
        n = sum(counts[a])
        row = []
        for b in range(NTOK):
            p = (counts[a][b] + K * p_backoff(a, b)) / (n + K)
            row.append(min(255, max(1, round(-math.log2(p) * scale))))
        cost.append(row)

    pages = [page_tokens(c) for _, c in CODECS]
    for p in pages:
        assert p[:128] == pages[0][:128]

    total_chars = sum(c for _, c in stats.values())
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("// SPDX-License-Identifier: GPL-3.0-or-later\n")
        f.write("// Generated by scripts/make-letterpair-tables.py: do not edit. How Russian text pairs its\n")
        f.write("// letters, capitals, spaces and punctuation, learnt from %d characters of Russian:\n" % total_chars)
        f.write("// the Russian message translations of Debian's packages (/usr/share/locale/ru), the\n")
        f.write("// Russian manual pages (manpages-ru), the Debian FAQ (debian-faq-ru), our own translation\n")
        f.write("// and DOS tables drawn around their words (characters: %s).\n" % ", ".join(
            f"{k} {c}" for k, (n, c) in stats.items()))
        f.write("#pragma once\n\n#include <array>\n#include <cstdint>\n\nnamespace encoding_detail {\n\n")
        f.write("// Token of a byte: 0..32 small letters (ё, а..я), 33..65 capitals (Ё, А..Я), then\n")
        f.write("// " + ", ".join(f"{66 + i} {n}" for i, n in enumerate(CLASSES)) + ".\n")
        f.write("inline constexpr int PairTokens = %d;\n" % NTOK)
        for i, n in enumerate(CLASSES):
            f.write("inline constexpr std::uint8_t Token%s = %d;\n" % (n, 66 + i))
        f.write("\n// What each byte reads as, in the order Dos, Win, Koi, Mac, Iso.\n")
        f.write("inline constexpr std::uint8_t PageTokens[5][256] = {\n")
        for p in pages:
            f.write("    {")
            for i in range(0, 256, 32):
                f.write(("\n     " if i else "") + ", ".join(str(x) for x in p[i:i + 32]) + ",")
            f.write("},\n")
        f.write("};\n\n")
        f.write("// Cost of token b after token a, in eighths of a bit: -8 log2 P(b | a).\n")
        f.write("inline constexpr std::uint8_t PairCost[PairTokens * PairTokens] = {\n")
        for a in range(NTOK):
            f.write("    " + ",".join(str(x) for x in cost[a]) + ",\n")
        f.write("};\n\n} // namespace encoding_detail\n")
    print(out_path, file=sys.stderr)


if __name__ == "__main__":
    main()
