import io, socket
from pathlib import Path

import pytest
from PIL import Image, ImageChops

from conftest import CANVAS, Program, box_around, ink, poll

SCREEN = (1800, 1300)  # room for the window at twice its size
DOTS = [(60, 60), (100, 80), (140, 100)]
PREVIEW_AND_COPY = ("alt+v", "a", "alt+f", "Return")  # "Copia:" is the File menu's first entry
XCLIP = ("xclip", "-sel", "clip", "-t", "image/png", "-o")


def pasted(desktop, *command):
    return (png := desktop.run(*command, check=False, text=False)) and Image.open(io.BytesIO(png)).convert("RGB")


def same(a, b):  # to a level or two: mutter 48 dithers the desktop behind the rounded corners anew as it repaints
    return a.size == b.size and max(high for _, high in ImageChops.difference(a, b).getextrema()) <= 2


def shown_at(desktop, image, seen=lambda image: image):  # where the screen shows the image, as seen, if it does
    shot, row = desktop.screen(), 15  # through the caption's text
    y, x = divmod(shot.tobytes().find(image.crop((0, row, image.width, row + 1)).tobytes()) // 3, SCREEN[0])
    at = x, y - row
    return same(seen(image), seen(shot.crop((*at, at[0] + image.width, at[1] + image.height)))) and at


def listening(path):  # a socket that takes a connection: its file stands a little before
    with socket.socket(socket.AF_UNIX) as s:
        return s.connect_ex(path) == 0


def targets(desktop):
    return desktop.run("xclip", "-sel", "clip", "-t", "TARGETS", "-o", check=False).split()


@pytest.mark.parametrize("desktop, scale", [("openbox", None), ("openbox", "2"), ("openbox", "1.5"), ("icewm", None),
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
        poll(lambda: desktop.screen(frame), "the frame drawn at print size", times=4)  # mutter draws it late when busy
        assert round(width()) == 567
        desktop.key(*PREVIEW_AND_COPY[2:])
        poll(lambda: "image/png" in targets(desktop), "an image on the clipboard")
        assert "UTF8_STRING" not in targets(desktop), "what the clipboard held is gone"
        copy = pasted(desktop, *XCLIP)
        # a compositing window manager shows the menu closed a frame later
        poll(lambda: same(copy, desktop.screen(frame)), lambda: f"the {copy.size} copy on the screen at {frame}")
        x, y, w, h = desktop.geometry(program.window)  # moved past the screen's edge, it renders what the screen lacks
        desktop.xdotool("windowmove", "--sync", program.window, -250, y, "key", *PREVIEW_AND_COPY[2:])
        if desktop.geometry(program.window)[0] < 0:  # openbox alone lets a program move its window off the screen
            off = poll(lambda: (c := pasted(desktop, *XCLIP)) != copy and c, "the copy")
            assert same(*(i.crop((x - frame[0], y - frame[1], x - frame[0] + w, y - frame[1] + h)) for i in (off, copy)))


def paper(desktop):  # where the screen shows the program's paper: 560 white pixels in a row
    return (i := desktop.screen().convert("L").tobytes().find(b"\xff" * 560)) >= 0 and divmod(i, SCREEN[0])[::-1]


class OnMutter(Program):  # on the output of a nested Wayland session, which the X display shows
    def show(self):
        self.origin = poll(lambda: paper(self.desktop), "the program on the nested session's output", times=2)
        # the nested pointer takes the X pointer's place on entering (mutter 43) and follows xdotool's moves, which
        # are warps, once a device has moved it (48): from wherever it starts, leave mutter's window, come back, nudge
        self.desktop.xdotool("mousemove", "--sync", SCREEN[0] - 1, SCREEN[1] - 1, "mousemove", "--sync", 400, 300,
                             "mousemove_relative", "--sync", 1, 1)


SESSION = ["mutter", "--wayland", "--nested", "--wayland-display=wayland-0"]
XWAYLAND = ["--", "sh", "-c", 'echo "$DISPLAY $XAUTHORITY" >"$HOME/x" && mv "$HOME/x" "$HOME/xwayland" &&'
            ' exec tail -f --pid=$PPID /dev/null']  # mutter's child, which it ends with: it tells the Xwayland display


def without_corners(image, reach=8, bottom=False):  # rounded: the desktop behind shows, which Xwayland cannot give
    image = image.copy()
    for x in (0, image.width - reach):
        for y in (0, image.height - reach)[:1 + bottom]:
            image.paste((0, 0, 0), (x, y, x + reach, y + reach))
    return image


def copied(desktop, paste, park, seen, keys=PREVIEW_AND_COPY):  # the pointer parked: the copy, and where it shows
    desktop.xdotool("mousemove", *park)  # the compositor draws its pointer
    for key in keys:  # each opens or closes a menu or resizes; xdotool does not wait for it
        before = poll(desktop.screen, "a still output", times=2)  # so no earlier change passes for its effect
        desktop.key(key)
        poll(lambda: before != desktop.screen(), f"the compositor to show the effect of {key}")
    copy = poll(lambda: pasted(desktop, *paste), paste[0])
    return copy, poll(lambda: shown_at(desktop, copy, seen), "the copy on the screen, the focus back from the paste")


@pytest.mark.parametrize("desktop, platform", [(None, "wayland"), (None, "xcb")], indirect=["desktop"],
                         ids=["mutter-wayland", "mutter-xwayland"])
def test_the_copy_under_mutters_wayland_session_is_the_window_with_its_frame_as_shown(desktop, platform):
    (settings := Path(desktop.home, ".config/glib-2.0/settings")).mkdir(parents=True)  # a layout naming every button
    (settings / "keyfile").write_text("[org/gnome/desktop/wm/preferences]\nbutton-layout=':minimize,maximize,close'\n")
    desktop.spawn(SESSION + (["--no-x11"] if platform == "wayland" else XWAYLAND),
                  env={**desktop.env, "DBUS_SESSION_BUS_ADDRESS": desktop.dbus(), "GSETTINGS_BACKEND": "keyfile",
                       "MUTTER_DEBUG_DUMMY_MODE_SPECS": "1024x768"})  # room to maximise: else mutter offers it to none
    if platform == "wayland":  # its own frame drawn by the window: caption, minimise and close
        poll(lambda: listening(f"{desktop.home}/wayland-0"), "mutter")
        env, paste, seen = {"DISPLAY": None}, ("wl-paste", "-t", "image/png"), lambda image: image
    else:  # the X11 program on mutter's Xwayland, framed by mutter
        told = Path(desktop.home, "xwayland")
        display, authority = poll(lambda: told.exists() and told.read_text().split(), "mutter's Xwayland")
        env = {"DISPLAY": display, "XAUTHORITY": authority, "XDG_SESSION_TYPE": "wayland"}
        paste = ("env", f"DISPLAY={display}", f"XAUTHORITY={authority}", *XCLIP)
        seen = without_corners
    with OnMutter(desktop, QT_QPA_PLATFORM=platform, **env) as p:
        p.stroke(*DOTS)
        copy, at = copied(desktop, paste, (400, 767), seen)  # the pointer parked below the window
        if platform == "wayland":  # its own frame: moved by its caption, step by step until mutter's move begins
            desktop.xdotool("mousemove", at[0] + 100, at[1] + 25, "mousedown", 1)
            poll(lambda: desktop.xdotool("mousemove_relative", "--sync", 4, 0) or (paper(desktop) or at) > p.origin,
                 "the window moved by its caption")
            desktop.xdotool("mouseup", 1, "mousemove", 400, 767)
            x, y = poll(lambda: (a := shown_at(desktop, copy)) and a[0] > at[0] and a[1] == at[1] and a, "moved")
            desktop.xdotool("mousemove", x + copy.width - 17, y + 15, "click", 1)  # then closed by its button
            assert poll(lambda: p.process.poll() is not None, "the program closed") and p.process.returncode == 0
    caption = copy.convert("L").crop((copy.width - 120, 8, copy.width, 30))  # below the rounded corners
    dark = [x for x in range(120) if caption.crop((x, 0, x + 1, 22)).getextrema()[0] < 99]  # the buttons' strokes
    assert len([x for x in dark if x - 1 not in dark]) == 2, "minimise and close, no maximise: the size is fixed"
    assert all(ink(copy, box_around((x + p.origin[0] - at[0], y + p.origin[1] - at[1]), 1)) for x, y in DOTS[1:])
