#!/usr/bin/python3
"""Reads the exported .xlsx and .docx files back with readers of their own
(openpyxl, python-docx, LibreOffice) and checks what a user of Word or Excel
would see.

Usage: office_files.py ZELVANO_CLI OFFICE_DRIVER
The archives are written here byte by byte, independently of the program."""

import csv
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import docx
import openpyxl
from docx.enum.text import WD_ALIGN_PARAGRAPH
from docx.shared import Pt

CLI, DRIVER = sys.argv[1], sys.argv[2]
# Seconds a run of the program may take before it counts as hung and fails.
DEADLINE = 60

ATTACHMENTS = [250] * 8
CLIENT = [50] * 7 + [120, 50, 50, 16, 11, 50, 50, 50, 50, 120, 120, 250,
                     50, 50, 50, 50, 120, 250] + ATTACHMENTS
PRODUCT = [250] * 8 + [50, 50, 250, 250, 15, 250, 15, 15, 250] + ATTACHMENTS
SUPPLY = [250, 10, 5, 250, 16, 16, 16, 10, 10, 250, 250, 250, 250, 250, 250] + ATTACHMENTS


def record(capacities, values):
    """One record: each value (text) as a length byte and its capacity in
    Windows-1252 bytes."""
    out = bytearray()
    for i, cap in enumerate(capacities):
        text = values.get(i, "").encode("cp1252")[:cap]
        out += bytes([len(text)]) + text + bytes(cap - len(text))
    return bytes(out)


def write_archive(path, capacities, rows):
    with open(path, "wb") as f:
        for values in rows:
            f.write(record(capacities, values))


def cli(*args):
    return subprocess.run([CLI, "export", *args], capture_output=True, text=True, timeout=DEADLINE)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def card(kind, folder, **controls):
    done = subprocess.run([DRIVER, kind, folder] + [f"{k}={v}" for k, v in controls.items()],
                          capture_output=True, text=True, check=True, timeout=DEADLINE)
    return done.stdout.strip()


class Workbooks(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.folder = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def export(self, archive, name):
        out = os.path.join(self.folder, name)
        done = cli(archive, "--xlsx", out, "--folder", self.folder)
        self.assertEqual(done.returncode, 0, done.stderr)
        return openpyxl.load_workbook(out).worksheets

    def check_text_range(self, ws, last_cell):
        self.assertEqual(ws.dimensions, "A1:" + last_cell)
        for row in ws[ws.dimensions]:
            for cell in row:
                self.assertEqual(cell.number_format, "@", cell.coordinate)
                self.assertTrue(cell.value is None or isinstance(cell.value, str), cell.coordinate)

    def check_headings(self, ws, columns, first, last):
        self.assertIsNone(ws["A1"].value)
        self.assertFalse(ws["A1"].font.b)
        for c in range(2, columns + 1):
            self.assertTrue(ws.cell(1, c).font.b, ws.cell(1, c).coordinate)
        self.assertEqual(ws["B1"].value, first)  # the leading blank is trimmed
        self.assertEqual(ws.cell(1, columns).value, last)
        self.assertEqual(ws.sheet_view.selection[0].activeCell, "A1")

    def test_three_clients(self):
        write_archive(os.path.join(self.folder, "Anagrafica.pro"), CLIENT, [
            {0: "C1", 1: "Rossi Mario", 4: "00100 Città RM", 11: "01234567890"},
            {0: "C2", 1: "Bianchi & Figli <srl>", 24: "prima riga\r\nseconda riga"},
            {0: "C3", 1: "Verdi", 11: "00000000001"},
        ])
        [ws] = self.export("clienti", "clienti.xlsx")
        self.assertEqual(ws.title, "Anagrafica clienti")
        self.check_text_range(ws, "Z4")
        self.check_headings(ws, 26, "Codice identificativo", "Note")
        self.assertEqual(ws["F1"].value, "CAP, città e sigla prov.")
        self.assertEqual([ws.cell(r, 1).value for r in (2, 3, 4)], ["1", "2", "3"])
        self.assertEqual(ws["M2"].value, "01234567890")  # VAT number kept as text
        self.assertEqual(ws["M4"].value, "00000000001")
        self.assertEqual(ws["F2"].value, "00100 Città RM")
        self.assertEqual(ws["C3"].value, "Bianchi & Figli <srl>")
        self.assertIsNone(ws["D2"].value)
        # Fitted widths: the record numbers' column is narrow, the names'
        # column holds "Cliente (persona o azienda)" in bold.
        widths = {c: ws.column_dimensions[c].width for c in "ABC"}
        self.assertLess(widths["A"], 5)
        self.assertGreater(widths["C"], len("Cliente (persona o azienda)"))

    def test_two_products(self):
        write_archive(os.path.join(self.folder, "Materiali.pro"), PRODUCT, [
            {0: "P1", 5: "Trapano", 12: "12,50", 14: "3"},
            {0: "P2", 5: "Viti", 12: "0,10", 14: "0"},
        ])
        [ws] = self.export("prodotti", "prodotti.xlsx")
        self.assertEqual(ws.title, "Prodotti e servizi")
        self.check_text_range(ws, "Q3")
        self.check_headings(ws, 17, "Codice articolo", "Note")
        self.assertEqual(ws["N2"].value, "12,50")
        self.assertEqual(ws["P3"].value, "0")

    def test_four_supply_items(self):
        write_archive(os.path.join(self.folder, "Rossi marzo.for"), SUPPLY, [
            {0: f"Articolo {k}", 4: "1", 5: "3,50", 6: "3,50", 8: "Saldato"} for k in range(4)
        ])
        [ws] = self.export("Rossi marzo.for", "fornitura.xlsx")
        self.assertEqual(ws.title, "Elenco fornitura")
        self.check_text_range(ws, "P5")
        self.check_headings(ws, 16, "Prodotto o servizio fornito", "Annotazioni")
        self.assertEqual(ws["F1"].value, "Quantità")
        self.assertEqual(ws["B5"].value, "Articolo 3")

    def test_missing_archive_is_an_empty_grid_and_stays_missing(self):
        [ws] = self.export("clienti", "vuoto.xlsx")
        self.check_text_range(ws, "Z2")
        self.assertTrue(all(c.value is None for row in ws["A1:Z2"] for c in row))
        self.assertFalse(os.path.exists(os.path.join(self.folder, "Anagrafica.pro")))

    def test_existing_output_and_unwritable_folder(self):
        out = os.path.join(self.folder, "keep.xlsx")
        with open(out, "wb") as f:
            f.write(b"not mine to replace")
        done = cli("clienti", "--xlsx", out, "--folder", self.folder)
        self.assertEqual(done.returncode, 1)
        self.assertIn("already exists", done.stderr)
        self.assertEqual(read_bytes(out), b"not mine to replace")

        # A regular file where the folder should be: root's rights do not help.
        done = cli("clienti", "--docx", os.path.join(out, "x.docx"), "--folder", self.folder)
        self.assertEqual(done.returncode, 1)
        self.assertIn("cannot create a file", done.stderr)
        self.assertEqual(sorted(os.listdir(self.folder)), ["keep.xlsx"])

    @unittest.skipUnless(os.geteuid() == 0 and shutil.which("unshare"), "needs root to hide a library")
    def test_a_desk_without_the_libraries_is_told_at_export(self):
        # The two libraries hidden from the tool in a mount namespace of its own.
        libraries = {}
        for line in subprocess.run(["ldconfig", "-p"], capture_output=True, text=True).stdout.splitlines():
            name, _, path = line.strip().partition(" => ")
            for lib in ("libzip.so.", "libxlsxwriter.so."):
                if name.startswith(lib):
                    libraries[lib] = os.path.realpath(path)
        self.assertEqual(len(libraries), 2, libraries)
        write_archive(os.path.join(self.folder, "Anagrafica.pro"), CLIENT, [{0: "C1", 1: "Rossi"}])
        hide = "; ".join(f"mount --bind /dev/null '{path}'" for path in libraries.values())

        def without_libraries(*args):
            command = hide + "; exec \"$0\" \"$@\""
            return subprocess.run(["unshare", "-m", "sh", "-c", command, CLI, *args],
                                  capture_output=True, text=True, timeout=DEADLINE)

        # Searching and checking need neither: the tool starts and works.
        done = without_libraries("search", "clienti", "--folder", self.folder)
        self.assertEqual((done.returncode, done.stdout[:16]), (0, "Cod. id. C1     "), done.stderr)
        self.assertEqual(without_libraries("check", "iban", "IT60X0542811101000000123456").returncode, 0)
        # An export says which library it misses and leaves no file behind.
        for option, name, lib in (("--xlsx", "c.xlsx", "libxlsxwriter.so."), ("--docx", "c.docx", "libzip.so.")):
            done = without_libraries("export", "clienti", option, os.path.join(self.folder, name),
                                     "--folder", self.folder)
            self.assertEqual(done.returncode, 1, done.stderr)
            self.assertIn("cannot load " + lib, done.stderr)
        self.assertEqual(sorted(os.listdir(self.folder)), ["Anagrafica.pro"])


def bold_mark(paragraph):
    """True when the paragraph mark itself is bold (an empty paragraph)."""
    rpr = paragraph._p.pPr.find(docx.oxml.ns.qn("w:rPr")) if paragraph._p.pPr is not None else None
    return rpr is not None and rpr.find(docx.oxml.ns.qn("w:b")) is not None


class Documents(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.folder = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def check_arial10(self, paragraph, bold=False):
        self.assertTrue(paragraph.runs, paragraph.text)
        for run in paragraph.runs:
            self.assertEqual(run.font.name, "Arial")
            self.assertEqual(run.font.size, Pt(10))
            self.assertEqual(bool(run.font.bold), bold)

    def check_card(self, path, title, rows, spacer=False):
        d = docx.Document(path)
        head = d.paragraphs[0]
        self.assertEqual(head.text, title)
        self.assertEqual(head.alignment, WD_ALIGN_PARAGRAPH.CENTER)
        self.check_arial10(head, bold=True)
        if spacer:
            empty = d.paragraphs[1]
            self.assertEqual(empty.text, "")
            self.assertEqual(empty.alignment, WD_ALIGN_PARAGRAPH.CENTER)
            self.assertTrue(bold_mark(empty))
        else:
            self.assertEqual(len(d.paragraphs), 2)  # the title and the one after the table
        [table] = d.tables
        self.assertEqual((len(table.rows), len(table.columns)), (rows, 2))
        for row in table.rows:
            for cell in row.cells:
                [p] = cell.paragraphs
                self.assertEqual(p.alignment, WD_ALIGN_PARAGRAPH.JUSTIFY)
                if p.text:
                    self.check_arial10(p)
        return table

    def test_client_card(self):
        path = card("clienti", self.folder, Codice=" C/1 ", CodFisc="RSSMRA80A01H501U",
                    Iva="01234567890", Note="riga 1\r\nriga 2")
        self.assertEqual(os.path.basename(path), "C_1.docx")
        table = self.check_card(path, "SCHEDA ANAGRAFICA CLIENTE", 25)
        self.assertEqual(table.cell(0, 1).text, "C/1")
        self.assertEqual([table.cell(10, 0).text, table.cell(10, 1).text],
                         ["Codice fiscale", "RSSMRA80A01H501U"])
        self.assertEqual(table.cell(4, 0).text, "CAP, città e sigla provincia:")
        self.assertEqual(table.cell(24, 1).text, "riga 1\nriga 2")
        self.assertEqual(table.cell(23, 1).text, "")

    def test_product_card(self):
        path = card("prodotti", self.folder, Codice="P1", Prezzo="12,50")
        table = self.check_card(path, "SCHEDA PRODOTTO O SERVIZIO", 16, spacer=True)
        self.assertEqual([table.cell(12, 0).text, table.cell(12, 1).text],
                         ["Prezzo unitario:", "12,50"])
        self.assertEqual(table.cell(15, 0).text, "Note:")

    def test_supply_card_and_no_overwrite(self):
        values = dict(panClasse="Rossi marzo", Prodotto="Trapano", Prezzo="3,50",
                      Importo="7,00", Cliente="Rossi")
        path = card("fornitura", self.folder, **values)
        self.assertEqual(os.path.basename(path), "Rossi marzo - Trapano.docx")
        table = self.check_card(path, "Rossi marzo", 15)
        self.assertEqual(table.cell(5, 1).text, "€ 3,50")
        self.assertEqual(table.cell(6, 1).text, "€ 7,00")
        self.assertEqual([table.cell(10, 0).text, table.cell(10, 1).text], ["Cliente", "Rossi"])

        # The same card again gets a name of its own; the first stays as it was.
        before = read_bytes(path)
        again = card("fornitura", self.folder, **values)
        self.assertEqual(os.path.basename(again), "Rossi marzo - Trapano (2).docx")
        self.assertEqual(read_bytes(path), before)

    def test_grid_document(self):
        write_archive(os.path.join(self.folder, "Anagrafica.pro"), CLIENT, [
            {0: "C1", 1: "Rossi", 11: "01234567890"},
            {0: "C2", 1: "Bianchi & Figli <srl>", 24: "a\x01b\tc"}])
        out = os.path.join(self.folder, "clienti.docx")
        done = cli("clienti", "--docx", out, "--folder", self.folder)
        self.assertEqual(done.returncode, 0, done.stderr)
        [table] = docx.Document(out).tables
        self.assertEqual((len(table.rows), len(table.columns)), (3, 26))
        self.assertEqual(table.cell(0, 0).text, "")
        self.assertEqual(table.cell(0, 1).text, " Codice identificativo")
        self.assertEqual(table.cell(0, 5).text, " CAP, città e sigla prov.")
        self.assertEqual([table.cell(2, c).text for c in range(3)], ["2", "C2", "Bianchi & Figli <srl>"])
        # A control character XML cannot hold shows as the replacement character.
        self.assertEqual(table.cell(2, 25).text, "a\ufffdb\tc")
        self.assertEqual(table.cell(1, 12).text, "01234567890")


def soffice_convert(files, target, outdir, profile):
    """Converts the files with LibreOffice in one run (it starts slowly), with
    a profile of its own so that the user's is never touched. Returns the
    converted files, one per input, in order."""
    done = subprocess.run(["soffice", "--headless", "--norestore", f"-env:UserInstallation=file://{profile}",
                           "--convert-to", target, "--outdir", outdir, *files],
                          capture_output=True, text=True, timeout=300)
    extension = target.split(":")[0]
    out = [os.path.join(outdir, os.path.splitext(os.path.basename(f))[0] + "." + extension) for f in files]
    missing = [f for f in out if not os.path.exists(f)]
    if done.returncode != 0 or missing:
        raise AssertionError(f"LibreOffice could not read {missing}: {done.stdout} {done.stderr}")
    return out


CSV_UTF8 = "csv:Text - txt - csv (StarCalc):44,34,76,1"  # comma, quotes, UTF-8, from line 1


@unittest.skipUnless(shutil.which("soffice"), "LibreOffice (libreoffice-calc-nogui, libreoffice-writer-nogui) "
                                               "is not installed; scripts/setup.sh installs it")
class LibreOffice(unittest.TestCase):
    """LibreOffice as the client of every export: the workbooks as CSV, the
    documents as PDF, each kind converted in one batch."""

    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        folder = cls.folder = cls.dir.name
        write_archive(os.path.join(folder, "Anagrafica.pro"), CLIENT, [
            {0: "C1", 1: "Niccolò Bertè", 4: "00100 Città RM", 11: "01234567890", 24: "acconto 50 €"},
            {0: "C2", 1: "Società Sàrl", 11: "00000000001"}])
        write_archive(os.path.join(folder, "Materiali.pro"), PRODUCT, [
            {0: "P1", 5: "Caffè in grani", 12: "12,50", 14: "3"}])
        write_archive(os.path.join(folder, "Rossi €.for"), SUPPLY, [
            {0: "Perché sì", 5: "3,50", 6: "7,00", 10: "Società Sàrl"}])
        cls.books, docs = [], []
        for archive, name in (("clienti", "clienti"), ("prodotti", "prodotti"), ("Rossi €.for", "fornitura")):
            for kind, into in (("--xlsx", cls.books), ("--docx", docs)):
                out = os.path.join(folder, name + "." + kind[2:])
                done = cli(archive, kind, out, "--folder", folder)
                assert done.returncode == 0, done.stderr
                into.append(out)
        docs.append(card("clienti", folder, Codice="C1", Persona="Niccolò Bertè", Iva="01234567890"))
        docs.append(card("fornitura", folder, panClasse="Rossi €", Prodotto="Perché sì", Prezzo="3,50"))
        profile = os.path.join(folder, "profilo")
        converted = os.path.join(folder, "convertiti")
        cls.csvs = soffice_convert(cls.books, CSV_UTF8, converted, profile)
        cls.pdfs = soffice_convert(docs, "pdf", converted, profile)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def rows(self, k):
        with open(self.csvs[k], encoding="utf-8", newline="") as f:
            return list(csv.reader(f))

    def text(self, k):
        return subprocess.run(["pdftotext", "-raw", self.pdfs[k], "-"], capture_output=True, text=True,
                              check=True).stdout

    def test_workbooks_hold_the_texts_in_their_cells(self):
        clients, products, supply = self.rows(0), self.rows(1), self.rows(2)
        self.assertEqual(len(clients), 3)
        self.assertEqual(clients[0][:3], ["", "Codice identificativo", "Cliente (persona o azienda)"])
        self.assertEqual(clients[1][:3], ["1", "C1", "Niccolò Bertè"])
        self.assertEqual(clients[1][5], "00100 Città RM")
        self.assertEqual([clients[1][12], clients[2][12]], ["01234567890", "00000000001"])  # text, not numbers
        self.assertEqual(clients[1][25], "acconto 50 €")
        self.assertEqual([products[1][6], products[1][13]], ["Caffè in grani", "12,50"])
        self.assertEqual([supply[1][1], supply[1][6], supply[1][11]], ["Perché sì", "3,50", "Società Sàrl"])
        self.assertEqual(supply[0][5], "Quantità")

    def test_documents_print_their_texts(self):
        # The grids' narrow columns break words across lines: compare without blanks.
        squeeze = lambda text: "".join(text.split())
        clients = squeeze(self.text(0))
        for words in ("Niccolò Bertè", "00100 Città RM", "01234567890", "acconto 50 €", "Società Sàrl"):
            self.assertIn(squeeze(words), clients)
        self.assertIn("Caffèingrani", squeeze(self.text(1)))
        self.assertIn("Perchésì", squeeze(self.text(2)))
        card_text = self.text(3)
        self.assertIn("SCHEDA ANAGRAFICA CLIENTE", card_text)
        self.assertIn("01234567890", card_text)
        self.assertIn("Niccolò Bertè", card_text)
        supply_card = self.text(4)
        self.assertIn("Rossi €", supply_card)
        self.assertIn("€ 3,50", supply_card)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
