#!/usr/bin/env python3
"""Build data/Fyltext.txt, the program's text table, from fyltext_source.tsv.

The source is UTF-8, one entry per line: number, TAB, text. Lines starting
with '#' are comments. The text is taken verbatim after the first TAB, so
leading and trailing blanks are kept.

The output is what the program's text table loader reads: Windows-1252,
one line per entry, lines ended by CR LF, line k holding entry k. Each line
starts with a 6-character prefix ("NNNNN ") that the loader skips by
position; the entry's text follows from character 7. The loader keeps only
180 characters of a line, so a text may have at most 174.

Usage:
    make_fyltext.py            write data/Fyltext.txt
    make_fyltext.py --check    exit 1 if data/Fyltext.txt is not up to date
"""

import argparse
import sys
from pathlib import Path

ENTRY_COUNT = 235
PREFIX_WIDTH = 6
MAX_LINE = 180
MAX_TEXT = MAX_LINE - PREFIX_WIDTH
ENCODING = "cp1252"

HERE = Path(__file__).resolve().parent
DEFAULT_SOURCE = HERE / "fyltext_source.tsv"
DEFAULT_OUTPUT = HERE.parent.parent / "data" / "Fyltext.txt"


class SourceError(Exception):
    pass


def read_source(path):
    """Return the texts as a list, index 0 holding entry 1."""
    texts = {}
    with open(path, encoding="utf-8", newline="") as f:
        for lineno, raw in enumerate(f, start=1):
            line = raw[:-1] if raw.endswith("\n") else raw
            where = f"{path}:{lineno}"
            if line.endswith("\r"):
                raise SourceError(f"{where}: CR line ending; use LF only")
            if line.startswith("#") or line == "":
                continue
            number, sep, text = line.partition("\t")
            if not number.isdigit():
                raise SourceError(f"{where}: line does not start with an entry number")
            n = int(number)
            if not 1 <= n <= ENTRY_COUNT:
                raise SourceError(f"{where}: entry {n} outside 1..{ENTRY_COUNT}")
            if n in texts:
                raise SourceError(f"{where}: entry {n} given twice")
            if "\t" in text or "\r" in text or "\n" in text:
                raise SourceError(f"{where}: entry {n} contains a tab or line break")
            if len(text) > MAX_TEXT:
                raise SourceError(
                    f"{where}: entry {n} has {len(text)} characters, at most {MAX_TEXT} fit")
            try:
                text.encode(ENCODING)
            except UnicodeEncodeError as e:
                bad = text[e.start:e.end]
                raise SourceError(f"{where}: entry {n}: {bad!r} has no {ENCODING} code")
            texts[n] = text

    missing = [n for n in range(1, ENTRY_COUNT + 1) if n not in texts]
    if missing:
        raise SourceError(f"{path}: entries missing: {missing}")
    if len(texts) != ENTRY_COUNT:
        raise SourceError(f"{path}: {len(texts)} entries, expected {ENTRY_COUNT}")
    return [texts[n] for n in range(1, ENTRY_COUNT + 1)]


def render(texts):
    """Encode the table as the bytes of the text file."""
    out = bytearray()
    for n, text in enumerate(texts, start=1):
        line = f"{n:05d} {text}".encode(ENCODING)
        assert len(line) <= MAX_LINE
        out += line + b"\r\n"
    return bytes(out)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--source", type=Path, default=DEFAULT_SOURCE)
    ap.add_argument("--output", type=Path, default=DEFAULT_OUTPUT)
    ap.add_argument("--check", action="store_true",
                    help="compare with the existing output instead of writing it")
    args = ap.parse_args(argv)

    try:
        data = render(read_source(args.source))
    except SourceError as e:
        print(f"error: {e}", file=sys.stderr)
        return 2

    if args.check:
        try:
            current = args.output.read_bytes()
        except FileNotFoundError:
            current = None
        if current != data:
            print(f"{args.output} is out of date; run {Path(__file__).name}", file=sys.stderr)
            return 1
        return 0

    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(data)
    print(f"wrote {args.output} ({ENTRY_COUNT} entries, {len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
