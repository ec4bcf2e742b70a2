import pyatspi, pytest
from PIL import ImageChops

from conftest import PANEL, Program, accessible, awaited, poll, role

WARNING = ("Attenzione questa impostazione va usata prima di iniziare a disegnare, "
           "altrimenti cancella tutto il disegno!")
PAPER = (0, 0, PANEL, 472)  # the drawing area above the comment line
CHOSEN = (0x33, 0x66, 0xcc)


# GNOME's session as Debian installs it loads GTK's platform theme, and with it GTK's own chooser
GNOME = {"XDG_CURRENT_DESKTOP": "GNOME", "GTK_THEME": "Adwaita:dark"}


@pytest.fixture
def program(desktop, bus, request):
    session = getattr(request, "param", {})
    with Program(desktop, DBUS_SESSION_BUS_ADDRESS=bus, **session) as p:  # a screen reader reads the warning
        p.stroke((100, 100), (200, 150), (300, 200))
        yield p


def choose_background(program, colour):  # no colour cancels
    program.desktop.key("alt+f", "Right", "Right", "Return")  # "Sfondo" > "Colore di sfondo:", with no access key
    assert ("label", WARNING) in [(role(n), n.name) for n in awaited("alert", "Pittorello 1")]
    program.desktop.key("Return")
    awaited("dialog", "Seleziona colore")
    left = lambda name: accessible(pyatspi.STATE_SHOWING, name=name)[0].queryComponent().getExtents(0).x
    assert left("OK") < left("Annulla"), "the design's order, whatever the desktop's"
    program.desktop.key(*(("alt+h", "ctrl+a", "type:" + colour, "Return") if colour else ("Escape",)))  # "HTML:"
    awaited("frame", "Pittorello 1")  # the dialog closed


@pytest.mark.parametrize("program", [{}, GNOME], indirect=True, ids=["bare session", "GNOME session, dark"])
def test_the_colour_typed_paints_the_paper_and_erases_the_drawing(program):  # the whole window: the offscreen appearance check
    choose_background(program, "#3366cc")
    canvas = poll(lambda: (c := program.canvas()).getpixel((200, 150)) == CHOSEN and c, "a new paper", 15, 2)
    assert canvas.crop(PAPER).getcolors() == [(PANEL * PAPER[3], CHOSEN)]


def test_cancel_keeps_drawing_and_colours(program):
    before = program.canvas()
    choose_background(program, None)
    program.stroke((20, 300), (30, 300))  # once its dot shows, the cancelled command has long finished
    assert ImageChops.difference(before, program.canvas()).getbbox() == (30, 300, 31, 301), "only the last dot"
