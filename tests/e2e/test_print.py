import glob, grp, os, re, signal, socket, subprocess, tempfile
from subprocess import DEVNULL
from pathlib import Path

import pyatspi, pytest
from PIL import Image, ImageChops

from conftest import CANVAS, PANEL, Program, Servers, accessible, awaited, poll, role


@pytest.fixture
def cups():  # cupsd on its own socket and files, as any user, its default queue an IPP Everywhere printer
    with Servers() as cups:
        home, group = cups.home, grp.getgrgid(os.getgid()).gr_name
        Path(home, "bin/backend").mkdir(parents=True)
        for part in ("filter", "daemon", "cgi-bin", "monitor", "notifier", "driver", "backend/ipp"):  # the machine's
            Path(home, "bin", part).symlink_to(f"/usr/lib/cups/{part}")
        Path(home, "cupsd.conf").write_text(f"Listen {home}/cups.sock\n<Location />\nAllow all\n</Location>\n")
        Path(home, "cups-files.conf").write_text(
            f"ServerRoot {home}\nServerBin {home}/bin\nRequestRoot {home}\nCacheDir {home}\nStateDir {home}\n"
            f"SystemGroup {group}\nErrorLog stderr\nAccessLog stderr\nPageLog stderr\n")
        cups.env["CUPS_SERVER"] = f"{home}/cups.sock"
        cups.cupsd = cups.spawn(["/usr/sbin/cupsd", "-f", "-c", f"{home}/cupsd.conf", "-s", f"{home}/cups-files.conf"])
        cups.callback(cups.cupsd.send_signal, signal.SIGCONT)  # a test may leave it stopped
        poll(lambda: "scheduler is running" in cups.run("lpstat", "-r", check=False), "cupsd")
        cups.out = Path(home, "out")  # where the printer keeps each job's document, written as it comes
        cups.out.mkdir()
        env = {**cups.env, "DBUS_SYSTEM_BUS_ADDRESS": cups.dbus()}  # its DNS-SD client wants a system bus
        for _ in range(3):  # a port free a moment ago may be taken by now
            with socket.socket() as free:
                free.bind(("localhost", 0))
                port = str(free.getsockname()[1])
            printer = cups.spawn(["ippeveprinter", "-p", port, "-d", cups.out, "-k", "-c", "/bin/true", "-r", "off",
                                  "-f", "application/pdf", "Eve"], env=env)  # -c: no pause to mimic printing
            uri, up = f"ipp://localhost:{port}/ipp/print", lambda: printer.poll() is None
            if poll(lambda: not up() or not subprocess.run(["ipptool", "-q", uri, "get-printer-attributes.test"],
                                                             stderr=DEVNULL).returncode, "the printer") and up():
                break
        cups.run("lpadmin", "-p", "Q", "-v", uri, "-m", "everywhere", "-E")  # its paper: Letter
        cups.run("lpadmin", "-d", "Q")
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
    assert not accessible(pyatspi.STATE_SHOWING, name="Pagine da"), "a page range, on copies of one page"
    program.desktop.key(*(keys + ("ctrl+a", "3", "Return") if keys else ["Escape"]))  # three copies
    awaited("frame", "Pittorello 1")  # the dialog closed


def pages(*pdfs):
    infos = [subprocess.run(["pdfinfo", p], capture_output=True, text=True).stdout for p in pdfs]
    return sum(int(re.search(r"Pages:\s*(\d+)", i)[1]) for i in infos if "Pages:" in i)  # none while written


def printed(cups, count):  # the documents of the jobs done, once they hold count pages
    pdfs = lambda: glob.glob(f"{cups.out}/*.pdf")
    poll(lambda: not cups.run("lpstat", "-o", check=False) and pages(*pdfs()) >= count, f"{count} pages")
    assert pages(*pdfs()) == count
    return pdfs()


def assert_the_window_on_every_page(program, pdfs):  # its pixels as they are, not a JPEG's
    window = program.canvas().crop((0, 0, PANEL - 1, CANVAS[1]))
    scratch = tempfile.mkdtemp(dir=program.desktop.home)
    for i, pdf in enumerate(pdfs):
        subprocess.run(["pdfimages", "-png", pdf, f"{scratch}/{i}"], check=True)
    images = glob.glob(f"{scratch}/*.png")
    assert len(images) == pages(*pdfs) and all(not ImageChops.difference(Image.open(i).convert("RGB"), window)
                                               .getbbox() for i in images), "the window's pixels on every page"
    return window


def test_a_cancelled_dialog_prints_nothing_and_three_copies_give_three_pages(program, cups):
    print_dialog(program)
    print_dialog(program, *["Tab"] * 4)  # from the list of printers to the copies
    assert_the_window_on_every_page(program, printed(cups, 3))


def test_copies_printed_to_a_file_are_its_pages(program):
    path = f"{program.desktop.home}/disegno.pdf"
    print_dialog(program, "End", "alt+f", "ctrl+a", "type:" + path, *["Tab"] * 3)  # End: the file, last printer
    poll(lambda: pages(path) == 3, lambda: f"3 pages in the file, not {pages(path)}")
    assert_the_window_on_every_page(program, [path])


def test_the_paper_chosen_holds_the_drawing_whole_and_centred_in_its_printable_area(program, cups):
    program.desktop.key("alt+f", "s")
    awaited("dialog", "Stampa")
    program.desktop.key("alt+r")  # "Proprietà"
    awaited("dialog", "Proprietà della stampante")
    program.desktop.key("Tab", "type:Letter", "Return")  # the paper, after the tabs
    awaited("dialog", "Stampa")
    program.desktop.key("Return")
    awaited("frame", "Pittorello 1")
    pdf = printed(cups, 1)[0]
    assert re.search(r"Page size:\s*612 x 792 pts", subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout)
    image = assert_the_window_on_every_page(program, [pdf])
    subprocess.run(["pdftoppm", "-r", "72", "-singlefile", "-png", pdf, f"{cups.home}/page"], check=True)
    left, bottom, right, top = map(float, re.search(r'\*ImageableArea Letter.*"(.*)"', Path(
        cups.home, "ppd/Q.ppd").read_text())[1].split())  # in points from the lower left, as the printer reports it
    scale = min((right - left) / image.width, (top - bottom) / image.height)
    x, y = (left + right - scale * image.width) / 2, 792 - (top + bottom + scale * image.height) / 2
    ink = lambda picture: ImageChops.invert(picture.convert("L")).point(lambda v: 255 * (v > 32)).getbbox()
    placed = [round(v * scale + (y if i % 2 else x)) for i, v in enumerate(ink(image))]
    assert all(abs(a - b) <= 2 for a, b in zip(ink(Image.open(f"{cups.home}/page.png")), placed)), "centred"


@pytest.mark.parametrize("fault", ["refused", "gone", "stopped", "stopped in the dialog"])
def test_a_failed_print_is_told_while_the_window_answers_and_the_next_one_prints_once(program, cups, fault):
    cupsd, told = cups.cupsd, {"refused": "non accetta lavori", "gone": "non è riuscita"}.get(fault, "non risponde")
    cups.run(*(("cupsreject", "Q") if fault == "refused" else ("true",)))
    cupsd.send_signal(signal.SIGSTOP if fault == "stopped" else 0)
    program.desktop.key("alt+f", "s")
    if fault != "stopped":
        awaited("dialog", "Stampa")
        cupsd.send_signal({"gone": signal.SIGKILL, "stopped in the dialog": signal.SIGSTOP}.get(fault, 0))
        program.desktop.key("Return")
    # waiting for the spooler (the print size taken, the Print button held), and answering the accessibility bus
    waiting = {"stopped": lambda: program.desktop.geometry(program.window)[2] == PANEL - 1,
               "stopped in the dialog": lambda: [n for n in accessible(pyatspi.STATE_SHOWING, name="Stampa")
                                                 if not n.getState().contains(pyatspi.STATE_SENSITIVE)]}.get(fault)
    if waiting:
        poll(waiting, "the wait for the spooler")
        assert accessible(name="Pittorello 1"), "answered while waiting"  # frozen, it would not
    message = " ".join(n.name for n in awaited("alert", "Pittorello 1") if role(n) == "label")
    assert told in message, message
    if fault != "gone":
        program.desktop.key("Return")
        awaited("frame", "Pittorello 1")  # the message closed: keys go to the window again
        cupsd.send_signal(signal.SIGCONT)
        cups.run("cupsaccept", "Q")
        print_dialog(program, *["Tab"] * 4)
        assert len(printed(cups, 3)) == 1, "one job, the failed one never sent"
