#!/usr/bin/env python3
"""Builds data/QeltoReport.xlsx, the workbook a report export fills.

Sheet "Report" receives the values a report page writes as cell tags; its column Z says where
they go. Sheet "Summary" shows the values that matter most in readable form, by formulas that
read the Report sheet, so a spreadsheet recalculates it whenever the export fills the cells.

The workbook is written with the standard library only and always with the same bytes, so the
committed file changes only when this script does. Run it from anywhere:

    python3 scripts/make-report-template.py [output.xlsx]
"""

import pathlib
import sys
import zipfile
from xml.sax.saxutils import escape

DATA_SHEET = "Report"  # the sheet name the catalog's text 274 gives the export
PUMPS = 10

MAIN_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships"
XML_HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

BOLD = 1  # cellXfs index of the bold style


def column_name(number):
    letters = ""
    while number:
        number, rest = divmod(number - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return letters


def text_cell(ref, text, style=0):
    style_attr = f' s="{style}"' if style else ""
    return (f'<c r="{ref}" t="inlineStr"{style_attr}><is><t xml:space="preserve">'
            f"{escape(text)}</t></is></c>")


def formula_cell(ref, formula):
    return f'<c r="{ref}"><f>{escape(formula)}</f></c>'


def worksheet(rows, columns=""):
    """rows: {row number: [cell xml in column order]}"""
    body = "".join(f'<row r="{number}">{"".join(cells)}</row>'
                   for number, cells in sorted(rows.items()))
    cols = f"<cols>{columns}</cols>" if columns else ""
    return (f'{XML_HEAD}<worksheet xmlns="{MAIN_NS}" xmlns:r="{REL_NS}">'
            f"{cols}<sheetData>{body}</sheetData></worksheet>")


# Where a report page puts its values. The notes sit in column Z, which no page fills.
DATA_NOTES = [
    "Where the report page puts its values (this column is not filled):",
    "A1 date (day\\month\\year), A2 time, A3 1 settings / 0 usage report",
    "A5, A6 customer, A7 software version, A8 report source, A9 0 laundry / 1 dishwash",
    "A10 unit serial number, A100 comment",
    "B1 unit model, B2 number of pumps, B3-B12 speeds of pumps 1-10 (%)",
    "B14 + 4 x (pump - 1): flow rate (ml/min), then calibration day, month, year",
    "B54-B67 global settings, B80 on: program names, B100 on: flush-valve marks",
    "C: dishwash settings",
    "D-W: programs 1-20, X: all programs (usage)",
    "usage rows 6 x (pump - 1) + 1 to 6: hours, minutes, seconds, count, volume",
    "settings rows 60 x (trigger - 1) + 6 x (pump - 1) + 1 to 6: pulses, delay m, s, run m, s, dose",
]


def data_sheet():
    rows = {number: [text_cell(f"Z{number}", note)]
            for number, note in enumerate(DATA_NOTES, start=1)}
    return worksheet(rows, '<col min="26" max="26" width="90" customWidth="1"/>')


def ref(cell):
    return f"{DATA_SHEET}!{cell}"


def shown(cell):
    """The cell's value, or nothing while the report left it empty."""
    return f'IF({ref(cell)}="","",{ref(cell)})'


def summary_sheet():
    rows = {1: [text_cell("A1", "Qelto report", BOLD)]}
    identity = [
        ("Date", f'SUBSTITUTE(""&{ref("A1")},"\\","/")'),
        ("Time", f'""&{ref("A2")}'),
        ("Report", f'IF({ref("A3")}="","",IF({ref("A3")}=1,"Settings","Usage"))'),
        ("Customer", f'""&{ref("A5")}'),
        ("", f'""&{ref("A6")}'),
        ("Unit model", f'""&{ref("B1")}'),
        ("Serial number", f'""&{ref("A10")}'),
        ("Software version", f'""&{ref("A7")}'),
        ("Number of pumps", shown("B2")),
        ("Comment", f'""&{ref("A100")}'),
    ]
    for number, (label, formula) in enumerate(identity, start=3):
        rows[number] = [text_cell(f"A{number}", label, BOLD), formula_cell(f"B{number}", formula)]

    header_row = 3 + len(identity) + 1
    headers = ["Pump", "Speed (%)", "Flow rate (per min)", "Cycles, all programs",
               "Volume, all programs", "Run time, all programs (h:mm:ss)"]
    rows[header_row] = [text_cell(f"{column_name(i)}{header_row}", text, BOLD)
                        for i, text in enumerate(headers, start=1)]
    for pump in range(1, PUMPS + 1):
        row = header_row + pump
        usage = 6 * (pump - 1)  # the pump's first row in the usage columns
        hours, minutes, seconds = (f"X{usage + 1}", f"X{usage + 2}", f"X{usage + 3}")
        # A log search sums each part alone, so minutes and seconds can pass 59: carry them.
        total = f"({ref(hours)}*3600+{ref(minutes)}*60+{ref(seconds)})"
        run_time = (f'IF({ref(hours)}="","",INT({total}/3600)&":"'
                    f'&TEXT(INT(MOD({total},3600)/60),"00")&":"&TEXT(MOD({total},60),"00"))')
        rows[row] = [
            f'<c r="A{row}"><v>{pump}</v></c>',
            formula_cell(f"B{row}", shown(f"B{2 + pump}")),
            formula_cell(f"C{row}", shown(f"B{14 + 4 * (pump - 1)}")),
            formula_cell(f"D{row}", shown(f"X{usage + 4}")),
            formula_cell(f"E{row}", shown(f"X{usage + 5}")),
            formula_cell(f"F{row}", run_time),
        ]
    note_row = header_row + PUMPS + 2
    rows[note_row] = [text_cell(
        f"A{note_row}",
        "Volumes in ml and flow rates in ml/min, or fl oz with US units; all values are on "
        f"the {DATA_SHEET} sheet.")]
    widths = "".join(f'<col min="{i}" max="{i}" width="{w}" customWidth="1"/>'
                     for i, w in enumerate([18, 24, 20, 20, 20, 30], start=1))
    return worksheet(rows, widths)


CONTENT_TYPES = (
    f'{XML_HEAD}<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
    '<Default Extension="xml" ContentType="application/xml"/>'
    '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
    '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
    '<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
    '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
    "</Types>")

PACKAGE_RELS = (
    f'{XML_HEAD}<Relationships xmlns="{PKG_REL_NS}">'
    '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
    "</Relationships>")

WORKBOOK = (
    f'{XML_HEAD}<workbook xmlns="{MAIN_NS}" xmlns:r="{REL_NS}">'
    '<bookViews><workbookView activeTab="0"/></bookViews>'
    f'<sheets><sheet name="{DATA_SHEET}" sheetId="1" r:id="rId1"/>'
    '<sheet name="Summary" sheetId="2" r:id="rId2"/></sheets>'
    '<calcPr fullCalcOnLoad="1"/>'
    "</workbook>")

WORKBOOK_RELS = (
    f'{XML_HEAD}<Relationships xmlns="{PKG_REL_NS}">'
    '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
    '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet2.xml"/>'
    '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
    "</Relationships>")

STYLES = (
    f'{XML_HEAD}<styleSheet xmlns="{MAIN_NS}">'
    '<fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>'
    '<font><b/><sz val="11"/><name val="Calibri"/></font></fonts>'
    '<fills count="2"><fill><patternFill patternType="none"/></fill>'
    '<fill><patternFill patternType="gray125"/></fill></fills>'
    '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
    '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
    '<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
    '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>'
    '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>'
    "</styleSheet>")


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "data" / "QeltoReport.xlsx"
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    parts = [
        ("[Content_Types].xml", CONTENT_TYPES),
        ("_rels/.rels", PACKAGE_RELS),
        ("xl/workbook.xml", WORKBOOK),
        ("xl/_rels/workbook.xml.rels", WORKBOOK_RELS),
        ("xl/styles.xml", STYLES),
        ("xl/worksheets/sheet1.xml", data_sheet()),
        ("xl/worksheets/sheet2.xml", summary_sheet()),
    ]
    with zipfile.ZipFile(output, "w") as archive:
        for name, text in parts:
            entry = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            archive.writestr(entry, text.encode("utf-8"))


if __name__ == "__main__":
    main()
