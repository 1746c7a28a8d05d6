#!/usr/bin/env python3
"""Compares a room schedule's results.csv with its results.xlsx, row by row and cell by cell, with
nothing but the standard library (the workbook is a zip of XML parts). Test support.

    python3 summary_workbook_check.py OUTDIR

Exits 0 and prints the number of rooms when both files agree, else prints each difference and
exits 1: the header is the summary's; a figure is a number cell whose value is the CSV's text and
whose number format shows it with as many decimals; a text is a text cell; an empty CSV cell has no
cell; no cell reads "nan" or "inf"; a planned room (one with a type) has every figure its jet kind
gives.
"""
import csv
import io
import math
import re
import sys
import zipfile
import xml.etree.ElementTree as ET

HEADER = ["Raum", "Typ", "Größe", "Strahlform", "Bezeichnung", "Anzahl", "Anordnung", "Volumenstrom je Durchlass",
          "Volumenstrom je m Schlitz", "Betrieb", "Kühllast", "ΔT", "Zulufttemperatur", "dp", "LWA", "a min", "w min",
          "x-krit", "y max", "vk", "DR", "Kategorie", "Hinweise"]
FIGURES = {"Strahlform": 0, "Anzahl": 0, "Volumenstrom je Durchlass": 2, "Volumenstrom je m Schlitz": 2,
           "Kühllast": 3, "ΔT": 2, "Zulufttemperatur": 2, "dp": 1, "LWA": 1, "a min": 2, "w min": 2, "x-krit": 2,
           "y max": 2, "vk": 2, "DR": 1}
NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
BUILTIN_FORMATS = {0: "General", 1: "0", 2: "0.00"}


def column_index(reference):
    letters = re.match(r"[A-Z]+", reference).group(0)
    index = 0
    for letter in letters:
        index = index * 26 + ord(letter) - ord("A") + 1
    return index - 1


def read_workbook(path):
    """The first sheet as {row: {column: (kind, value, number format)}} and its name."""
    with zipfile.ZipFile(path) as book:
        names = book.namelist()
        shared = []
        if "xl/sharedStrings.xml" in names:
            for item in ET.fromstring(book.read("xl/sharedStrings.xml")).findall("m:si", NS):
                shared.append("".join(t.text or "" for t in item.iter("{%s}t" % NS["m"])))
        styles = ET.fromstring(book.read("xl/styles.xml"))
        custom = {int(f.get("numFmtId")): f.get("formatCode") for f in styles.findall("m:numFmts/m:numFmt", NS)}
        formats = [int(xf.get("numFmtId", "0")) for xf in styles.findall("m:cellXfs/m:xf", NS)]
        workbook = ET.fromstring(book.read("xl/workbook.xml"))
        sheet_name = workbook.find("m:sheets/m:sheet", NS).get("name")
        sheet = ET.fromstring(book.read("xl/worksheets/sheet1.xml"))
    rows = {}
    for row in sheet.findall("m:sheetData/m:row", NS):
        cells = {}
        for cell in row.findall("m:c", NS):
            kind = cell.get("t", "n")
            fmt_id = formats[int(cell.get("s", "0"))]
            fmt = custom.get(fmt_id, BUILTIN_FORMATS.get(fmt_id, "General"))
            value = cell.find("m:v", NS)
            if kind == "s":
                cells[column_index(cell.get("r"))] = ("text", shared[int(value.text)], fmt)
            elif kind == "inlineStr":
                text = "".join(t.text or "" for t in cell.iter("{%s}t" % NS["m"]))
                cells[column_index(cell.get("r"))] = ("text", text, fmt)
            elif kind == "n" and value is not None:
                cells[column_index(cell.get("r"))] = ("number", float(value.text), fmt)
            else:
                cells[column_index(cell.get("r"))] = (kind, value.text if value is not None else None, fmt)
        rows[int(row.get("r")) - 1] = cells
    return sheet_name, rows


def shown(number, fmt):
    """The number as the cell's format shows it, with the decimal comma of the CSV."""
    decimals = len(fmt.split(".")[1]) if "." in fmt else 0
    return f"{number:.{decimals}f}".replace(".", ",")


def main():
    folder = sys.argv[1]
    with open(f"{folder}/results.csv", "rb") as f:
        raw = f.read()
    problems = []
    if not raw.startswith(b"\xef\xbb\xbf"):
        problems.append("results.csv has no byte order mark")
    text = raw.decode("utf-8-sig")
    if "\r\n" not in text or re.search(r"(?<!\r)\n", text):
        problems.append("results.csv does not end its lines with CR LF")
    table = list(csv.reader(io.StringIO(text, newline=""), delimiter=";", quotechar='"'))
    sheet_name, book = read_workbook(f"{folder}/results.xlsx")
    if sheet_name != "Raumbuch":
        problems.append(f"the sheet is called {sheet_name!r}")
    if table[0] != HEADER:
        problems.append(f"CSV header {table[0]}")
    book_header = [book.get(0, {}).get(c, (None, None, None))[1] for c in range(len(HEADER))]
    if book_header != HEADER:
        problems.append(f"workbook header {book_header}")
    if set(book) != set(range(len(table))):
        problems.append(f"{len(table)} CSV rows, workbook rows {sorted(book)[:3]}… ({len(book)})")

    for r in range(1, len(table)):
        row, cells = table[r], book.get(r, {})
        where = f"row {r + 1} ({row[0] if row else '?'})"
        if len(row) != len(HEADER):
            problems.append(f"{where}: {len(row)} fields")
            continue
        if set(cells) - set(range(len(HEADER))):
            problems.append(f"{where}: cells beyond the header")
        for c, name in enumerate(HEADER):
            value = row[c]
            cell = cells.get(c)
            if re.search(r"\b(nan|inf)\b", value, re.IGNORECASE):
                problems.append(f"{where}, {name}: {value!r}")
            if value == "":
                if cell is not None:
                    problems.append(f"{where}, {name}: empty in the CSV, {cell[1]!r} in the workbook")
                continue
            if cell is None:
                problems.append(f"{where}, {name}: {value!r} in the CSV, no cell in the workbook")
                continue
            kind, content, fmt = cell
            if name in FIGURES:
                decimals = FIGURES[name]
                if kind != "number":
                    problems.append(f"{where}, {name}: {content!r} is no number cell")
                elif not math.isfinite(content):
                    problems.append(f"{where}, {name}: {content}")
                elif shown(content, fmt) != value or fmt != ("0" if decimals == 0 else "0." + "0" * decimals):
                    problems.append(f"{where}, {name}: CSV {value!r}, workbook {content!r} as {fmt!r}")
                elif content != round(content, decimals):
                    problems.append(f"{where}, {name}: the workbook holds {content!r}, not the rounded figure")
            else:
                # A text that a spreadsheet would take for a formula is guarded with ' in the CSV only.
                expected = value[1:] if value.startswith("'") and value[1:2] in ("=", "+", "-", "@") else value
                if kind != "text" or content != expected:
                    problems.append(f"{where}, {name}: CSV {value!r}, workbook {kind} {content!r}")
        if row[1]:  # a planned room
            horizontal = row[HEADER.index("y max")] == ""
            needed = ["Strahlform", "Anzahl", "Anordnung", "Volumenstrom je Durchlass", "Kühllast", "ΔT", "Zulufttemperatur",
                      "dp", "LWA", "vk", "DR", "Kategorie"]
            needed += ["a min", "w min"] if horizontal else ["y max"]
            for name in needed:
                if row[HEADER.index(name)] == "":
                    problems.append(f"{where}: no {name}")
            if not horizontal and any(row[HEADER.index(n)] for n in ("a min", "w min", "x-krit")):
                problems.append(f"{where}: a vertical jet with horizontal figures")
        elif not row[HEADER.index("Hinweise")]:
            problems.append(f"{where}: neither planned nor a reason")

    if problems:
        print("\n".join(problems))
        return 1
    print(f"{len(table) - 1} rooms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
