#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# How often detection names the right code page, per code page, for quillet-conv and for
# uchardet on the same files (the corpus of make-detect-corpus.py, built on the fly
# unless --corpus names one). --old CONV adds a second quillet-conv, e.g. a build of an
# earlier version, as its own row.
#
#   scripts/bench-detect-accuracy.py [--conv CONV] [--old CONV] [--corpus DIR] [--misses]
import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ENCODINGS = ["dos", "win", "koi", "mac", "iso", "utf8"]
QUILLET = {"Dos": "dos", "Win": "win", "Koi": "koi", "Mac": "mac", "Iso": "iso", "Utf8": "utf8"}
UCHARDET = {"IBM866": "dos", "CP866": "dos", "WINDOWS-1251": "win", "KOI8-R": "koi", "MAC-CYRILLIC": "mac",
            "X-MAC-CYRILLIC": "mac", "ISO-8859-5": "iso", "UTF-8": "utf8"}


def run_batches(cmd, files, parse):
    answers = {}
    for i in range(0, len(files), 500):
        out = subprocess.run(cmd + files[i:i + 500], capture_output=True, text=True).stdout
        for line in out.splitlines():
            name, answer = parse(line)
            answers[name] = answer
    return answers


def quillet(conv):
    def detect(files):
        return run_batches([conv, "detect", "--"], files,
                           lambda l: (l.split("\t")[0], QUILLET.get(l.split("\t")[1], l.split("\t")[1])))
    return detect


def uchardet(files):
    def parse(line):
        name, _, answer = line.rpartition(": ")
        return name, UCHARDET.get(answer.strip().upper(), answer.strip())
    return run_batches(["uchardet"], files, parse)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--conv", default=os.path.join(os.path.dirname(HERE), "build", "src", "tools", "quillet-conv"))
    ap.add_argument("--old")
    ap.add_argument("--corpus")
    ap.add_argument("--misses", action="store_true")
    a = ap.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        corpus = a.corpus or tmp
        if not os.path.isdir(os.path.join(corpus, "lines")):
            subprocess.run([sys.executable, os.path.join(HERE, "make-detect-corpus.py"), a.conv, corpus], check=True)
        detectors = [("Quillet", quillet(a.conv))]
        if a.old:
            detectors.append(("Quillet before", quillet(a.old)))
        detectors.append(("uchardet", uchardet))
        for kind in ("lines", "docs"):
            files = {e: sorted(os.path.join(corpus, kind, e, f) for f in os.listdir(os.path.join(corpus, kind, e)))
                     for e in ENCODINGS}
            n = len(files["win"])
            print(f"\n{kind}: {n} texts in each code page")
            print("| detector | DOS | Win | KOI | Mac | ISO | UTF-8 | all |")
            print("|---|---|---|---|---|---|---|---|")
            for name, detect in detectors:
                cells, right, total = [], 0, 0
                for e in ENCODINGS:
                    answers = detect(files[e])
                    ok = sum(1 for f in files[e] if answers.get(f) == e)
                    if a.misses:
                        for f in files[e]:
                            if answers.get(f) != e:
                                print(f"  {name} {e} {f}: {answers.get(f)}", file=sys.stderr)
                    cells.append(f"{100.0 * ok / len(files[e]):.1f}")
                    right += ok
                    total += len(files[e])
                print(f"| {name} | " + " | ".join(cells) + f" | {100.0 * right / total:.1f} % |")


if __name__ == "__main__":
    main()
