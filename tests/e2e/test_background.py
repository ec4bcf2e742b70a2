import pytest
from PIL import ImageChops

from conftest import CANVAS, PANEL, Program, awaited, poll

WARNING = ("Attenzione questa impostazione va usata prima di iniziare a disegnare, "
           "altrimenti cancella tutto il disegno!")
COMMENT = (16, 472, 16 + 529, 472 + 25)  # the comment line on the canvas
CHOSEN = (0x33, 0x66, 0xcc)
PANEL_BOX = (PANEL, 0, CANVAS[0], 505)  # the group box; the canvas shows in the row below it


@pytest.fixture
def program(desktop, bus):
    with Program(desktop, DBUS_SESSION_BUS_ADDRESS=bus) as p:  # a screen reader reads the warning
        p.stroke((100, 100), (200, 150), (300, 200))
        yield p


def choose_background(program, colour):  # no colour cancels
    program.desktop.key("alt+f", "Right", "Right", "Return")  # "Sfondo" > "Colore di sfondo:", with no access key
    assert ("label", WARNING) in [(n.getRoleName(), n.name) for n in awaited("alert", "Pittorello 1")]
    program.desktop.key("Return")
    awaited("dialog", "Seleziona colore")
    program.desktop.key(*(("alt+h", "ctrl+a", "type:" + colour, "Return") if colour else ("Escape",)))  # "HTML:"
    awaited("frame", "Pittorello 1")  # the dialog closed


def test_the_colour_typed_paints_paper_and_comment_line_and_erases_the_drawing(program):
    panel = program.canvas().crop(PANEL_BOX)
    choose_background(program, "#3366cc")
    canvas = poll(lambda: (c := program.canvas()).getpixel((200, 150)) == CHOSEN and c, "a new paper", 15, 2)
    paper = canvas.crop((0, 0, PANEL, CANVAS[1]))
    paper.paste(CHOSEN, COMMENT)
    assert paper.getcolors() == [(PANEL * CANVAS[1], CHOSEN)]
    assert canvas.getpixel((COMMENT[2] - 8, 484)) == CHOSEN, "inside the comment line"
    assert canvas.crop(PANEL_BOX).tobytes() == panel.tobytes(), "the panel keeps its colours"


def test_cancel_keeps_drawing_and_colours(program):
    before = program.canvas()
    choose_background(program, None)
    program.stroke((20, 300), (30, 300))  # once its dot shows, the cancelled command has long finished
    assert ImageChops.difference(before, program.canvas()).getbbox() == (30, 300, 31, 301), "only the last dot"
