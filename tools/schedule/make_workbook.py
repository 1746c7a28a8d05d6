#!/usr/bin/env python3
"""Writes a room list as a workbook (.xlsx or .ods, by the name of the output) with nothing but the
standard library: the first sheet "Räume" holds the header row and the rooms (numbers as numbers,
texts as texts, empty cells left out), the second sheet "Hinweise" tells each column's unit and
whether it may stay empty. Without a CSV it writes the example rooms of the manual.

    python3 tools/schedule/make_workbook.py tools/schedule/Raumbuch-Beispiel.xlsx
    python3 tools/schedule/make_schedule.py 30 --out rooms.csv
    python3 tools/schedule/make_workbook.py rooms.ods --csv rooms.csv

The CSV is a room schedule as `zelkfyl-cli schedule` reads it (semicolons and decimal commas, or
commas and decimal points). The parts are written with fixed dates, so the same rooms give the
same workbook.
"""
import argparse
import csv
import io
import re
import sys
import zipfile
from xml.sax.saxutils import escape

HEADER = ["Raum", "Breite", "Länge", "Höhe", "Luftwechsel", "Volumenstrom", "Kühllast", "Raumtemperatur",
          "Zulufttemperatur", "Kopfhöhe", "Einbauhöhe", "Luftgeschwindigkeit", "Schallleistung", "Typ", "Größe",
          "Strahlform", "Schlitzlänge", "Schlitzanzahl", "Rohr", "Komfortkategorie"]
TEXT_COLUMNS = {"Raum", "Typ", "Größe", "Komfortkategorie"}
# Column, unit, whether it must be filled, what to know.
NOTES = [
    ("Raum", "", "ja", "Name des Raums; die Ergebnisdateien heißen danach"),
    ("Breite", "m", "ja", ""),
    ("Länge", "m", "ja", ""),
    ("Höhe", "m", "ja", "lichte Raumhöhe"),
    ("Luftwechsel", "1/h", "nein", "nur eines von Luftwechsel und Volumenstrom"),
    ("Volumenstrom", "m³/h", "nein", "leer: aus Luftwechsel, oder aus Kühllast und Zulufttemperatur"),
    ("Kühllast", "kW", "nein", "zwei von Volumenstrom, Kühllast und Zulufttemperatur ergeben das dritte"),
    ("Raumtemperatur", "°C", "ja", ""),
    ("Zulufttemperatur", "°C", "nein",
     "leer mit Volumenstrom allein: isotherme Zuluft; wärmer als der Raum: Heizen, Kühllast leer oder 0"),
    ("Kopfhöhe", "m", "ja", ""),
    ("Einbauhöhe", "m", "ja", "Höhe des Durchlasses über dem Boden"),
    ("Luftgeschwindigkeit", "m/s", "ja", "zulässige Geschwindigkeit im Aufenthaltsbereich"),
    ("Schallleistung", "dB(A)", "ja", "zulässiger Schallleistungspegel"),
    ("Typ", "", "nein", "leer: der beste geeignete Vorschlag wird genommen, dann bleiben Größe bis Rohr leer"),
    ("Größe", "", "mit Typ", "wie die Auswahlliste sie nennt, z. B. DRL 400"),
    ("Strahlform", "", "mit Typ", "ganze Zahl"),
    ("Schlitzlänge", "mm", "nein", "nur Schlitzdurchlässe"),
    ("Schlitzanzahl", "", "nein", "nur Schlitzdurchlässe; ganze Zahl"),
    ("Rohr", "mm", "nein", "nur Schlitzrohre: Rohrdurchmesser"),
    ("Komfortkategorie", "", "nein", "A, B oder C; leer: B"),
]
EXAMPLE = [
    ["Büro 1.01", 5.4, 6, 3, "", 800, "", 22, 16, 1.8, 3, 0.2, 35, "DRL", "DRL 400", 1, "", "", "", "A"],
    ["Besprechung Nord", 8, 10, 3.2, 6, "", 2.5, 24, "", 1.8, 3.2, 0.2, 35, "", "", "", "", "", "", ""],
    ["Büro 1.02", 4, 5, 2.8, 4, "", "", 22, 17, 1.8, 2.8, 0.2, 35, "", "", "", "", "", "", "B"],
    ["Foyer", 12, 15, 4, "", "", 6, 22, 16, 1.8, 4, 0.25, 40, "", "", "", "", "", "", "C"],
    ["Seminar", 7, 9, 3.2, "", 1500, "", 21, "", 1.8, 3.2, 0.2, 35, "", "", "", "", "", "", ""],
]
FIXED_DATE = (2024, 1, 1, 0, 0, 0)
NUMBER = re.compile(r"^-?\d+([.,]\d+)?$")


def rooms_of_csv(path):
    """The rows of a room schedule CSV, numbers as numbers."""
    with open(path, encoding="utf-8-sig") as f:
        text = f.read()
    first = text.splitlines()[0]
    separator = ";" if ";" in first else ("\t" if "\t" in first else ",")
    rows = list(csv.reader(io.StringIO(text), delimiter=separator))
    if rows[0][:19] != HEADER[:19]:
        sys.exit(f"{path}: the header is not a room schedule's")
    rooms = []
    for row in rows[1:]:
        if not any(cell.strip() for cell in row):
            continue
        cells = []
        for name, cell in zip(HEADER, row + [""] * (len(HEADER) - len(row))):
            cell = cell.strip()
            if name not in TEXT_COLUMNS and NUMBER.match(cell):
                number = float(cell.replace(",", "."))
                cells.append(int(number) if number.is_integer() else number)
            else:
                cells.append(cell)
        rooms.append(cells)
    return rooms


def column_name(index):
    letters = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return letters


def part(book, name, text, stored=False):
    info = zipfile.ZipInfo(name, FIXED_DATE)
    info.compress_type = zipfile.ZIP_STORED if stored else zipfile.ZIP_DEFLATED
    book.writestr(info, text.encode("utf-8"))


def xlsx_sheet(rows, widths, frozen):
    out = []
    for r, row in enumerate(rows, start=1):
        cells = []
        for c, value in enumerate(row):
            ref = f"{column_name(c)}{r}"
            style = ' s="1"' if r == 1 and frozen else ""
            if value == "":
                continue
            if isinstance(value, (int, float)):
                cells.append(f'<c r="{ref}"{style}><v>{value!r}</v></c>')
            else:
                cells.append(f'<c r="{ref}" t="inlineStr"{style}><is><t>{escape(value)}</t></is></c>')
        out.append(f'<row r="{r}">{"".join(cells)}</row>')
    cols = "".join(f'<col min="{i + 1}" max="{i + 1}" width="{w}" customWidth="1"/>' for i, w in enumerate(widths))
    pane = ('<sheetViews><sheetView workbookViewId="0"><pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" '
            'state="frozen"/></sheetView></sheetViews>') if frozen else ""
    return ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
            f'{pane}<cols>{cols}</cols><sheetData>{"".join(out)}</sheetData></worksheet>')


def write_xlsx(path, rooms):
    main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    pkg = "http://schemas.openxmlformats.org/package/2006/relationships"
    sheet_type = f"{rel}/worksheet"
    widths = [max(len(str(row[c])) for row in [HEADER] + rooms) + 2 for c in range(len(HEADER))]
    notes = [["Spalte", "Einheit", "Pflicht", "Hinweis"]] + [list(n) for n in NOTES]
    with zipfile.ZipFile(path, "w") as book:
        part(book, "[Content_Types].xml",
             '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/>'
             '<Override PartName="/xl/workbook.xml" '
             'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
             '<Override PartName="/xl/worksheets/sheet1.xml" '
             'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
             '<Override PartName="/xl/worksheets/sheet2.xml" '
             'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
             '<Override PartName="/xl/styles.xml" '
             'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/></Types>')
        part(book, "_rels/.rels",
             f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="{pkg}">'
             f'<Relationship Id="rId1" Type="{rel}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        part(book, "xl/workbook.xml",
             f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<workbook xmlns="{main}" xmlns:r="{rel}">'
             '<sheets><sheet name="Räume" sheetId="1" r:id="rId1"/><sheet name="Hinweise" sheetId="2" r:id="rId2"/>'
             '</sheets></workbook>')
        part(book, "xl/_rels/workbook.xml.rels",
             f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="{pkg}">'
             f'<Relationship Id="rId1" Type="{sheet_type}" Target="worksheets/sheet1.xml"/>'
             f'<Relationship Id="rId2" Type="{sheet_type}" Target="worksheets/sheet2.xml"/>'
             f'<Relationship Id="rId3" Type="{rel}/styles" Target="styles.xml"/></Relationships>')
        part(book, "xl/styles.xml",
             f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<styleSheet xmlns="{main}">'
             '<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>'
             '<font><b/><sz val="11"/><name val="Calibri"/></font></fonts>'
             '<fills count="2"><fill><patternFill patternType="none"/></fill>'
             '<fill><patternFill patternType="gray125"/></fill></fills>'
             '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
             '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
             '<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
             '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>'
             '</styleSheet>')
        part(book, "xl/worksheets/sheet1.xml", xlsx_sheet([HEADER] + rooms, widths, True))
        part(book, "xl/worksheets/sheet2.xml", xlsx_sheet(notes, [20, 9, 9, 80], True))


def ods_table(name, rows):
    out = []
    for row in rows:
        cells = []
        for value in row:
            if value == "":
                cells.append("<table:table-cell/>")
            elif isinstance(value, (int, float)):
                shown = repr(value).replace(".", ",")
                cells.append(f'<table:table-cell office:value-type="float" office:value="{value!r}">'
                             f'<text:p>{shown}</text:p></table:table-cell>')
            else:
                cells.append(f'<table:table-cell office:value-type="string"><text:p>{escape(value)}</text:p>'
                             '</table:table-cell>')
        out.append(f'<table:table-row>{"".join(cells)}</table:table-row>')
    return f'<table:table table:name="{escape(name)}">{"".join(out)}</table:table>'


def write_ods(path, rooms):
    mimetype = "application/vnd.oasis.opendocument.spreadsheet"
    notes = [["Spalte", "Einheit", "Pflicht", "Hinweis"]] + [list(n) for n in NOTES]
    with zipfile.ZipFile(path, "w") as book:
        part(book, "mimetype", mimetype, stored=True)  # first and stored, as OpenDocument asks
        part(book, "META-INF/manifest.xml",
             '<?xml version="1.0" encoding="UTF-8"?>\n<manifest:manifest '
             'xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">'
             f'<manifest:file-entry manifest:full-path="/" manifest:media-type="{mimetype}"/>'
             '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
             '</manifest:manifest>')
        part(book, "content.xml",
             '<?xml version="1.0" encoding="UTF-8"?>\n<office:document-content '
             'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
             'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
             'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.3">'
             '<office:body><office:spreadsheet>'
             f'{ods_table("Räume", [HEADER] + rooms)}{ods_table("Hinweise", notes)}'
             '</office:spreadsheet></office:body></office:document-content>')


def main():
    parser = argparse.ArgumentParser(description="Writes a room list as an .xlsx or .ods workbook.")
    parser.add_argument("out", help="the workbook to write: NAME.xlsx or NAME.ods")
    parser.add_argument("--csv", help="the room schedule CSV whose rooms to write (default: the manual's example)")
    args = parser.parse_args()
    rooms = rooms_of_csv(args.csv) if args.csv else EXAMPLE
    if args.out.endswith(".xlsx"):
        write_xlsx(args.out, rooms)
    elif args.out.endswith(".ods"):
        write_ods(args.out, rooms)
    else:
        sys.exit("the output must end with .xlsx or .ods")


if __name__ == "__main__":
    main()
