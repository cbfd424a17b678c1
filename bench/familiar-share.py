#!/usr/bin/env python3
"""The share of word columns whose first word is from the familiar tier of the shipped
dictionary, in the first variant the program offers, for random 12-digit numbers: with
"Сначала знакомые слова" on, before (the usual order) and after "Сначала лучшие варианты"
(--best-first). Every table of data/Data/Codes.ini, modes 1 and 2.

  python3 bench/familiar-share.py build/bin/numbrelia-cli [--numbers 30] [--seed 2212]

It runs numbrelia-cli on a copy of data/Data, so the figures are the program's own.
"""

import argparse
import random
import shutil
import subprocess
import tempfile
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
DATA = REPO / "data" / "Data"


def tables():
    names = []
    for line in (DATA / "Codes.ini").read_bytes().decode("cp1251").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            names.append(line[1:-1])
    return names


def familiar_words():
    lines = [w for w in (DATA / "dic.lst").read_bytes().decode("cp1251").split("\r\n") if w]
    middle = ""
    for line in (DATA / "dic_tiers.ini").read_bytes().decode("cp1251").splitlines():
        if line.startswith("Middle="):
            middle = line[len("Middle="):].strip()
    end = lines.index(middle) if middle in lines else len(lines)
    return set(lines[:end])


def cli(tool, folder, args):
    out = subprocess.run([tool, "--dir", folder] + args, capture_output=True, text=True, check=True)
    return out.stdout


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("tool")
    parser.add_argument("--numbers", type=int, default=30)
    parser.add_argument("--seed", type=int, default=2212)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    numbers = ["".join(str(rng.randrange(10)) for _ in range(12)) for _ in range(args.numbers)]
    familiar = familiar_words()
    print("%d random 12-digit numbers, seed %d; familiar tier: %d words"
          % (len(numbers), args.seed, len(familiar)))
    print("%-12s %4s %-8s %8s %8s %10s" % ("table", "mode", "order", "columns", "familiar", "share"))
    with tempfile.TemporaryDirectory(prefix="numbrelia-share-") as tmp:
        shutil.copytree(DATA, Path(tmp) / "Data")
        for table in tables():
            for mode in ("1", "2"):
                for order in ("--no-best-first", "--best-first"):
                    opts = ["--table", table, "--mode", mode, "--familiar-first", order]
                    columns = hits = 0
                    for number in numbers:
                        first = cli(args.tool, tmp, opts + ["--limit", "1", "variants", number])
                        variant = first.split("\t", 1)[0]
                        for line in cli(args.tool, tmp, opts + ["words", variant]).splitlines():
                            words = line.split("\t")[1:]
                            columns += 1
                            hits += bool(words) and words[0] in familiar
                    print("%-12s %4s %-8s %8d %8d %9.1f%%"
                          % (table, mode, "best" if order == "--best-first" else "usual",
                             columns, hits, 100.0 * hits / max(columns, 1)))


if __name__ == "__main__":
    main()
