import os, re
from pathlib import Path

import pytest

from conftest import CANVAS, Program, Servers, poll
from test_copy import DOTS, PREVIEW_AND_COPY, SCREEN, XCLIP, OnMutter, copied, without_corners

# weston takes Xwayland's display from :0 up by the lock files in /tmp: a /tmp of its own, with this folder in it
PRIVATE_TMP = ('mkdir -p -m 1777 "$HOME/tmp/.X11-unix" "$HOME/tmp/${HOME#/tmp/}" && mount --bind "$HOME"'
               ' "$HOME/tmp/${HOME#/tmp/}" && mount --rbind "$HOME/tmp" /tmp && exec "$@"')
# root may mount in a namespace of its own, where a user namespace is refused (in a chroot); others need one
UNSHARE = ["unshare"] if os.geteuid() == 0 else ["unshare", "--user", "--map-root-user"]
WINDOWS = r'"Pittorello 1":.* \d+x(\d+)\+-?\d+\+-?\d+ +\+-?\d+\+(-?\d+)$'  # xwininfo -tree: height, top on the root


def test_on_westons_xwayland_the_copy_is_the_window_as_shown_and_the_menus_open_at_the_menu_bar():
    with Servers() as desktop:
        config, log = Path(desktop.home, "weston.ini"), Path(desktop.home, "weston.log")
        config.write_text("[shell]\nclock-format=none\n")  # a still panel
        desktop.x11(None, SCREEN).spawn([*UNSHARE, "--mount", "sh", "-c", PRIVATE_TMP,
                                         "sh", "weston", "--backend=x11-backend.so", "--width=1200", "--height=900",
                                         "--xwayland", "--idle-time=0", f"--config={config}", f"--log={log}"])
        display = poll(lambda: log.exists() and re.findall(r"display (:\d+)", log.read_text()), "weston's Xwayland")[0]
        windows = lambda: sorted(tuple(map(int, w)) for w in re.findall(WINDOWS, desktop.run(  # noqa: E731
            "env", f"DISPLAY={display}", "xwininfo", "-root", "-tree"), re.M) if w[0] != "1")  # and its menus, open
        with OnMutter(desktop, DISPLAY=display) as p:
            p.stroke(*DOTS)  # pressed, the window takes the keys
            desktop.key("alt+f")  # weston never tells the window where it put it
            (_, top), (height, y) = poll(lambda: (found := windows())[1:] and found, "the File menu")
            assert top == y + height - CANVAS[1], "the menu at the menu bar"
            copied(desktop, ("env", f"DISPLAY={display}", *XCLIP), (600, 12),  # weston's frame, without its shadow
                   lambda image: without_corners(image, 4, bottom=True), ("Escape", *PREVIEW_AND_COPY))


@pytest.mark.parametrize("laptop, primary, canvas", [((1366, 768), 0, (5, 61)), ((1366, 768), 1, (5, 61)),
                                                     ((1024, 560), 0, (5, 51))], ids=["laptop", "wide", "small"])
def test_the_window_opens_whole_on_the_primary_monitor_at_the_designs_place_from_its_corner(laptop, primary, canvas):
    monitors = [(0, 1080 - laptop[1], *laptop, "screen"), (laptop[0], 0, 1920, 1080, "none")]  # an output or none
    with Servers() as desktop:
        desktop.x11("openbox", (laptop[0] + 1920, 1080))
        for i, (x, y, w, h, output) in enumerate(monitors):  # the laptop's left of a wide one, bottoms aligned
            desktop.run("xrandr", "--setmonitor", "*" * (i == primary) + f"m{i}", f"{w}/1x{h}/1+{x}+{y}", output)
        with Program(desktop) as p:
            (x, y, w, h, _), (left, top, right, bottom) = monitors[primary], p.frame()
            assert p.origin == (x + canvas[0], y + canvas[1]) and x <= left < right <= x + w and y <= top < bottom <= y + h

