import glob, grp, os, re, subprocess
from pathlib import Path

import pyatspi, pytest
from PIL import Image

from conftest import Program, Servers, awaited, poll


KEEP = """#!/bin/sh
[ $# -eq 0 ] && exec echo 'file keep "Unknown" "Keep"'
exec cat ${6:--} > "${DEVICE_URI#keep:}/job-$1.pdf"
"""  # a backend that keeps each job's document, as CUPS hands it over, in the folder its URI names


@pytest.fixture(scope="module")
def cups():
    with Servers() as cups:  # cupsd on its own socket and files, as any user; the default queue writes into out/
        home, group = cups.home, grp.getgrgid(os.getgid()).gr_name
        for folder in ("out", "bin/backend"):
            Path(home, folder).mkdir(parents=True)
        for part in ("filter", "daemon", "cgi-bin", "monitor", "notifier", "driver"):  # the machine's, read only
            Path(home, "bin", part).symlink_to(f"/usr/lib/cups/{part}")
        keep = Path(home, "bin/backend/keep")
        keep.write_text(KEEP)
        keep.chmod(0o700)  # run as the scheduler's own user, who owns out/
        Path(home, "cupsd.conf").write_text(f"Listen {home}/cups.sock\n<Location />\nAllow all\n</Location>\n")
        Path(home, "cups-files.conf").write_text(
            f"ServerRoot {home}\nServerBin {home}/bin\nRequestRoot {home}\nCacheDir {home}\nStateDir {home}\n"
            f"SystemGroup {group}\nErrorLog stderr\nAccessLog stderr\nPageLog stderr\n")
        cups.env["CUPS_SERVER"] = f"{home}/cups.sock"
        cups.spawn(["/usr/sbin/cupsd", "-f", "-c", f"{home}/cupsd.conf", "-s", f"{home}/cups-files.conf"])
        poll(lambda: "scheduler is running" in cups.run("lpstat", "-r", check=False), "cupsd")
        cups.run("lpadmin", "-p", "PDF", "-E", "-v", f"keep:{home}/out")  # raw: the PDF as the program sends it
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
    poll(lambda: pages(path) == 3, lambda: f"3 pages in the file, not {pages(path)}")
    assert_the_stroke_on_every_page([path], program.desktop.home)
