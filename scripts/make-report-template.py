#!/usr/bin/env python3
"""Builds data/QeltoReport.xlsx, the workbook a report export fills.

Sheet "Report" receives the values a report page writes as cell tags; its column Z says where
they go. Sheet "Summary" shows the values that matter most in readable form. The export writes
its cells itself, as values worked out from the Report cells (src/reports/xlsx_summary.cpp), so
that a viewer that never recalculates shows them too; the template gives it only column widths,
the cell styles it uses (STYLES, in the order xlsx_summary.h names them) and its print setup:
one landscape page. The workbook opens on the Summary.

The workbook is written with the standard library only and always with the same bytes, so the
committed file changes only when this script does. Run it from anywhere:

    python3 scripts/make-report-template.py [output.xlsx]
"""

import pathlib
import sys
import zipfile
from xml.sax.saxutils import escape

DATA_SHEET = "Report"  # the sheet name the catalog's text 274 gives the export
SUMMARY_SHEET = "Summary"  # the name xlsx_summary.h looks for

MAIN_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships"
XML_HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'


def text_cell(ref, text):
    return (f'<c r="{ref}" t="inlineStr"><is><t xml:space="preserve">'
            f"{escape(text)}</t></is></c>")


def column_widths(widths):
    return "".join(f'<col min="{i}" max="{i}" width="{w}" customWidth="1"/>'
                   for i, w in widths)


def worksheet(rows, columns, selected=False, one_page=False):
    """rows: {row number: [cell xml in column order]}"""
    body = "".join(f'<row r="{number}">{"".join(cells)}</row>'
                   for number, cells in sorted(rows.items()))
    sheet_pr = '<sheetPr><pageSetUpPr fitToPage="1"/></sheetPr>' if one_page else ""
    tab = ' tabSelected="1"' if selected else ""
    page = ('<pageMargins left="0.5" right="0.5" top="0.6" bottom="0.6" header="0.3" '
            'footer="0.3"/><pageSetup orientation="landscape" fitToWidth="1" fitToHeight="1"/>'
            if one_page else "")
    return (f'{XML_HEAD}<worksheet xmlns="{MAIN_NS}" xmlns:r="{REL_NS}">{sheet_pr}'
            f'<sheetViews><sheetView{tab} workbookViewId="0"/></sheetViews>'
            f"<cols>{columns}</cols><sheetData>{body}</sheetData>{page}</worksheet>")


# Where a report page puts its values. The notes sit in column Z, which no page fills.
DATA_NOTES = [
    "Where the report page puts its values (this column is not filled):",
    "A1 date (day\\month\\year, month first with US units), A2 time (hh:mm:ss)",
    "A3 1 settings / 0 usage report, A11 date (year-month-day)",
    "A5, A6 customer, A7 software version, A8 report source, A9 0 laundry / 1 dishwash",
    "A10 unit serial number (text), A100 comment",
    "B1 unit model, B2 number of pumps, B3-B12 speeds of pumps 1-10 (%)",
    "B14 + 4 x (pump - 1): flow rate (ml/min), then calibration day, month, year",
    "B54-B67 global settings, B80 on: program names, B100 on: flush-valve marks",
    "C: dishwash settings, C50 dishwasher serial number (text)",
    "D-W: programs 1-20, X: all programs (usage; shift 1 when split into shifts)",
    "usage rows 6 x (pump - 1) + 1 to 6: hours, minutes, seconds, count, volume",
    "settings rows 60 x (trigger - 1) + 6 x (pump - 1) + 1 to 6: pulses, delay m, s, run m, s, dose",
    "Usage split into shifts: A12 number of shifts (1 when not split), A13-A18 start and end",
    "(hh:mm) of shifts 1-3; Y: all programs in shift 2, AA: in shift 3, rows as in X",
    f"Sheet {SUMMARY_SHEET} is written by the export from these values.",
]


def data_sheet():
    rows = {number: [text_cell(f"Z{number}", note)]
            for number, note in enumerate(DATA_NOTES, start=1)}
    # Column A wide enough for a serial number; Z for the notes.
    return worksheet(rows, column_widths([(1, 14), (26, 90)]))


def summary_sheet():
    """Labels and values in A-B, then the pump table: pump, speed, flow rate, calibration date,
    and cycles, volume and run time for each shift."""
    widths = [(1, 18), (2, 14), (3, 12), (4, 13)] + [(i, 11) for i in range(5, 14)]
    return worksheet({}, column_widths(widths), selected=True, one_page=True)


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
    '<bookViews><workbookView activeTab="1"/></bookViews>'
    f'<sheets><sheet name="{DATA_SHEET}" sheetId="1" r:id="rId1"/>'
    f'<sheet name="{SUMMARY_SHEET}" sheetId="2" r:id="rId2"/></sheets>'
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
    # In the order of xlsx_summary.h: normal, bold, date (the locale's short date), time of day,
    # duration ([h]:mm:ss), text, bold and centred.
    '<cellXfs count="7"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
    '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>'
    '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="21" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="46" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="49" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1" '
    'applyAlignment="1"><alignment horizontal="center"/></xf></cellXfs>'
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
