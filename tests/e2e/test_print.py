import glob, os, re, subprocess
from pathlib import Path

import pyatspi, pytest
from PIL import Image

from conftest import Program, Servers, awaited, poll


@pytest.fixture(scope="module")
def cups():
    with Servers() as cups:  # cupsd on its own socket; the default queue writes PDFs into out/ through CUPS-PDF
        home, tag = cups.home, f"pittorello-e2e-{os.getpid()}"
        Path(home, "cupsd.conf").write_text(f"Listen {home}/cups.sock\n<Location />\nAllow all\n</Location>\n")
        Path(home, "cups-files.conf").write_text(
            f"ServerRoot {home}\nRequestRoot {home}\nCacheDir {home}\nStateDir {home}\nSystemGroup root\n"
            "ErrorLog stderr\nAccessLog stderr\nPageLog stderr\n")
        pdf_conf = Path(f"/etc/cups/cups-pdf-{tag}.conf")  # read nowhere else
        pdf_conf.write_text(f"Out {home}/out\nSpool {home}/pdf\nLog {home}\n")
        cups.callback(pdf_conf.unlink)
        cups.env["CUPS_SERVER"] = f"{home}/cups.sock"
        cups.spawn(["/usr/sbin/cupsd", "-f", "-c", f"{home}/cupsd.conf"])
        poll(lambda: "scheduler is running" in cups.run("lpstat", "-r", check=False), "cupsd")
        cups.run("lpadmin", "-p", "PDF", "-E", "-v", f"cups-pdf:/{tag}",
                 "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")
        cups.run("lpadmin", "-d", "PDF")
        yield cups


@pytest.fixture
def program(desktop, bus, cups):
    with Program(desktop, DBUS_SESSION_BUS_ADDRESS=bus, CUPS_SERVER=cups.env["CUPS_SERVER"]) as p:
        p.desktop.key("End")  # the thickness bar has the focus: the thickest pen
        p.stroke(*[(x, 200) for x in range(100, 401, 25)])  # a band across half the drawing area
        yield p


def print_dialog(program, *keys):  # keys to the copies field, or none to cancel
    program.desktop.key("alt+f", "s")  # "&Stampa:"
    awaited("dialog", "Stampa")
    program.desktop.key("alt+o")
    awaited("spin button", "Copie:", pyatspi.STATE_SHOWING)  # the options
    program.desktop.key(*(keys + ("ctrl+a", "3", "Return") if keys else ["Escape"]))  # three copies
    awaited("frame", "Pittorello 1")  # the dialog closed


def pages(*pdfs):
    infos = [subprocess.run(["pdfinfo", p], capture_output=True, text=True).stdout for p in pdfs]
    return sum(int(re.search(r"Pages:\s*(\d+)", i)[1]) for i in infos if "Pages:" in i)  # none while written


def assert_the_stroke_on_every_page(pdfs, scratch):
    for i, pdf in enumerate(pdfs):
        subprocess.run(["pdftoppm", "-r", "20", "-gray", pdf, f"{scratch}/page-{i}"], check=True)
    for page in map(Image.open, glob.glob(f"{scratch}/page-*")):
        dark = page.point(lambda v: 255 * (v < 64)).tobytes()
        assert b"\xff" * (page.width * 35 // 100) in dark and b"\xff" * (page.width * 65 // 100) not in dark


def test_a_cancelled_dialog_prints_nothing_and_three_copies_give_three_pages(program, cups):
    print_dialog(program)
    print_dialog(program, *["Tab"] * 6)  # from the list of printers to the copies
    pdfs = lambda: glob.glob(f"{cups.home}/out/*.pdf")
    poll(lambda: not cups.run("lpstat", "-o", check=False) and pages(*pdfs()) >= 3, "three pages")
    assert pages(*pdfs()) == 3
    assert_the_stroke_on_every_page(pdfs(), cups.home)


def test_copies_printed_to_a_file_are_its_pages(program):
    path = f"{program.desktop.home}/disegno.pdf"
    print_dialog(program, "End", "alt+f", "ctrl+a", "type:" + path, *["Tab"] * 4)  # End: the file, last printer
    poll(lambda: pages(path) == 3, lambda: f"3 pages in the file, not {pages(path)}", timeout=5)
    assert_the_stroke_on_every_page([path], program.desktop.home)
