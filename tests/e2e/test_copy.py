import io, os

import pytest
from PIL import Image

from conftest import CANVAS, Program, box_around, ink, poll

SCREEN = (1800, 1300)  # room for the window at twice its size
DOTS = [(60, 60), (100, 80), (140, 100)]
PREVIEW_AND_COPY = ("alt+v", "a", "alt+f", "Return")  # "Copia:" is the File menu's first entry


def pasted(desktop, *command):
    return (png := desktop.run(*command, check=False, text=False)) and Image.open(io.BytesIO(png)).convert("RGB")


def same(a, b):
    return a.size == b.size and a.tobytes() == b.tobytes()


def targets(desktop):
    return desktop.run("xclip", "-sel", "clip", "-t", "TARGETS", "-o", check=False).split()


@pytest.mark.parametrize("desktop, scale", [*[("openbox", s) for s in (None, "2", "1.5")], ("icewm", None),
                                            ("mutter", None), ("mutter", "2"), ("metacity", None)], indirect=["desktop"])
def test_the_copy_is_the_frame_on_screen(desktop, scale):
    desktop.spawn(["xclip", "-quiet", "-sel", "clip", __file__])  # some text, held until replaced
    poll(lambda: "UTF8_STRING" in targets(desktop), "the text on the clipboard")
    with Program(desktop, QT_SCALE_FACTOR=scale) as program:
        width = lambda: desktop.geometry(program.window)[2] / program.scale  # the client area, whatever the frame
        desktop.xdotool("windowsize", program.window, 600, 400)  # undone by the program, under icewm too
        poll(lambda: width() == CANVAS[0], lambda: f"the window back at its width, not at {width()}", times=20)
        program.stroke(*DOTS)
        desktop.key(*PREVIEW_AND_COPY[:2])
        frame = poll(lambda: (f := program.frame())[2] - f[0] < 600 * program.scale and f, "print size", times=2)
        assert round(width()) == 567
        desktop.key(*PREVIEW_AND_COPY[2:])
        poll(lambda: "image/png" in targets(desktop), "an image on the clipboard")
        assert "UTF8_STRING" not in targets(desktop), "what the clipboard held is gone"
        copy = pasted(desktop, "xclip", "-sel", "clip", "-t", "image/png", "-o")
        # a compositing window manager shows the menu closed a frame later
        poll(lambda: same(copy, desktop.screen(frame)), lambda: f"the screen under {frame} to show the {copy.size} copy")


class OnWeston(Program):  # on weston's output, which the X display shows
    def show(self):  # found by its paper: 560 white pixels in a row
        self.origin = poll(lambda: (i := self.desktop.screen().convert("L").tobytes().find(b"\xff" * 560)) >= 0
                           and divmod(i, SCREEN[0])[::-1], "the program on weston's output", times=2)
        # weston's pointer follows the X pointer's deltas and takes its place only on entering:
        # from wherever the X pointer starts, leave weston's window and come back
        self.desktop.xdotool("mousemove", "--sync", SCREEN[0] - 1, SCREEN[1] - 1, "mousemove", "--sync", 512, 384)


@pytest.mark.parametrize("desktop", [None], indirect=True, ids=["weston"])
def test_the_copy_under_weston_is_the_window_as_shown(desktop):
    desktop.spawn(["weston", "--backend=x11-backend.so", "--use-pixman", "--no-config", "--idle-time=0",
                   "--socket=wayland-0", "--width=1024", "--height=768"])  # x11: a headless one has no clipboard
    poll(lambda: os.path.exists(f"{desktop.home}/wayland-0"), "weston")
    with OnWeston(desktop, DISPLAY=None, QT_QPA_PLATFORM="wayland", QT_WAYLAND_DISABLE_WINDOWDECORATION="1") as p:
        p.stroke(*DOTS)
        desktop.xdotool("mousemove", 512, 4)  # weston draws its pointer: park it on the middle of its panel
        for key in PREVIEW_AND_COPY:  # each opens or closes a menu or resizes; xdotool does not wait for it
            before = poll(desktop.screen, "a still output", times=2)  # so no earlier change passes for its effect
            desktop.key(key)
            poll(lambda: before != desktop.screen(), f"weston to show the effect of {key}")
        copy = poll(lambda: pasted(desktop, "wl-paste", "-t", "image/png"), "wl-paste")
        shot, (x0, y0) = desktop.screen(), p.origin
    tops = [y for y in range(y0 - 40, y0) if same(copy, shot.crop((x0, y, x0 + copy.width, y + copy.height)))]
    assert tops, "the copy is the window as weston shows it"
    assert all(ink(copy, box_around((x, y + y0 - tops[0]), 1)) for x, y in DOTS[1:]), "with the dots"
