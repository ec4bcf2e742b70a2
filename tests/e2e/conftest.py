"""The built program on private servers, each started here and stopped by its PID."""
import os, re, subprocess, tempfile, time
from contextlib import AbstractContextManager, ExitStack
from subprocess import DEVNULL, PIPE

import pyatspi, pytest
from gi.repository import GLib
from PIL import ImageGrab

CANVAS = (792, 506)
PANEL = 568  # the control panel's left edge on the canvas
# --sync: otherwise mutter on Xvfb now and then leaves a window's last drawing off the screen
GNOME = {"mutter": ["mutter", "--x11", "--replace", "--sm-disable", "--sync"], "metacity": ["metacity", "--sm-disable"]}


def poll(read, what, timeout=15, times=1):  # read()'s first true value alike times in a row, or a failure on what
    seen, deadline = [], time.monotonic() + timeout
    while time.monotonic() < deadline:
        seen = (seen + [read()])[-times:]
        if seen[-1] and seen == seen[-1:] * times:
            return seen[-1]
        time.sleep(0.02)
    assert not what, f"timed out waiting for {what() if callable(what) else what}"


def ink(image, box):  # the pixels in box that are not white paper, as (x, y, colour)
    part = image.crop(box)
    return [(box[0] + i % part.width, box[1] + i // part.width, p) for i, p in enumerate(part.getdata())
            if p != (255, 255, 255)]


def box_around(point, reach):
    return (point[0] - reach, point[1] - reach, point[0] + reach + 1, point[1] + reach + 1)


class Servers(ExitStack):  # child processes, stopped last first, with nothing of the caller's desktop

    def __init__(self):
        super().__init__()
        self.home = self.enter_context(tempfile.TemporaryDirectory(prefix="pittorello-e2e-"))
        self.env = {"PATH": os.environ["PATH"], "LANG": "C.UTF-8", "HOME": self.home, "XDG_RUNTIME_DIR": self.home}

    def spawn(self, args, env=None, stdout=DEVNULL, **kw):
        child = subprocess.Popen(args, env=env or self.env, stdin=DEVNULL, stdout=stdout, stderr=DEVNULL, **kw)
        for stop in (child.kill, lambda: child.wait(5), child.terminate):  # the last first; kill if it lingers
            self.callback(stop)
        return child

    def run(self, *args, check=True, text=True):
        return subprocess.run(args, env=self.env, check=check, capture_output=True, text=text, timeout=60).stdout

    def dbus(self):  # a private session bus in this folder: its address, once it listens (its socket is there before)
        daemon = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address",
                             f"--address=unix:path={self.home}/bus"], stdout=PIPE, text=True)
        with daemon.stdout as printed:
            return printed.readline().strip()

    def x11(self, wm, size=(1280, 1024)):
        xvfb = self.spawn(["Xvfb", "-displayfd", "1", "-screen", "0", "%dx%dx24" % size, "-noreset"], stdout=PIPE,
                          text=True)  # -noreset: a server resets when its last client leaves, refusing the next
        with xvfb.stdout as number:
            self.env["DISPLAY"] = ":" + number.readline().strip()
        if wm:
            self.spawn(GNOME.get(wm, [wm]), env=wm in GNOME and {**self.env, "DBUS_SESSION_BUS_ADDRESS": self.dbus()})
            poll(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False), wm)
        return self

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *map(str, args), check=check)

    def key(self, *keys):
        for k in keys:  # by their xdotool names; the text of "type:text" is typed
            self.xdotool(*(("type", k[5:]) if k.startswith("type:") else ("key", "--clearmodifiers", k)))

    def screen(self, box=None):
        return ImageGrab.grab(bbox=box, xdisplay=self.env["DISPLAY"]).convert("RGB")

    def geometry(self, window):
        info = self.run("xwininfo", "-id", str(window))
        return tuple(map(int, re.findall(r"(?:Absolute upper-left [XY]|Width|Height):\s*(-?\d+)", info)))


class Program(AbstractContextManager):  # framed and settled; positions are canvas pixels before QT_SCALE_FACTOR

    def __init__(self, desktop, **env):  # a variable of None is removed
        self.desktop, self.scale = desktop, float(env.get("QT_SCALE_FACTOR") or 1)
        env = {k: v for k, v in {**desktop.env, "QT_QPA_PLATFORM": "xcb", **env}.items() if v is not None}
        self.process = desktop.spawn([os.environ["PITTORELLO_EXE"]], env=env)
        self.show()

    def show(self):
        search = ("search", "--onlyvisible", "--all", "--pid", self.process.pid, "--name", "^Pittorello 1$")
        self.window = poll(lambda: self.desktop.xdotool(*search, check=False), "the window").split()[0]
        poll(self.frame, "the window framed and settled", times=3)  # the window manager places it after it maps
        self.desktop.xdotool("windowactivate", "--sync", self.window)
        x, y, _, height = self.desktop.geometry(self.window)  # the canvas fills the window below the menu bar
        self.origin = (x, y + height - round(CANVAS[1] * self.scale))

    def frame(self):
        extents = re.findall(r"\d+", self.desktop.run("xprop", "-id", self.window, "_NET_FRAME_EXTENTS"))
        left, right, top, bottom = map(int, extents or (0, 0, 0, 0))
        x, y, width, height = self.desktop.geometry(self.window)
        return extents and (x - left, y - top, x + width + right, y + height + bottom)

    def at(self, x, y):
        return self.origin[0] + round(x * self.scale), self.origin[1] + round(y * self.scale)

    def canvas(self):
        return self.desktop.screen((*self.at(0, 0), *self.at(*CANVAS)))

    def stroke(self, *points, release_at=None):
        self.desktop.xdotool("mousemove", *self.at(*points[0]), "mousedown", 1)
        for p in points[1:]:  # one by one, each dot awaited: motion events queued together would merge into one
            self.desktop.xdotool("mousemove", "--sync", *self.at(*p))
            poll(lambda: ink(self.desktop.screen(box_around(self.at(*p), 2)), (0, 0, 5, 5)), f"a dot at {p}")
        self.desktop.xdotool("mousemove", *self.at(*(release_at or points[-1])), "mouseup", 1)

    def __exit__(self, *error):
        self.process.terminate()
        self.process.wait(5)  # gone from the screen before the next one comes


def role(node):  # "push button": its role's own name, which AT-SPI's role names spell otherwise from release to release
    try:
        return str(pyatspi.Role(node.getRole()))[5:].replace("_", " ").lower()
    except GLib.GError:  # gone while read
        return None


def accessible(*states, name=None):  # read afresh; a list's entries are no controls of their own
    def walk(node):
        try:  # a node gone while read (a dialog closing) is none
            node.clear_cache()
            found = (not name or node.name == name) and all(node.getState().contains(s) for s in states)
            return [node] * found + ([] if role(node) == "list" else [n for child in node if child for n in walk(child)])
        except GLib.GError:
            return []
    app = poll(lambda: [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Pittorello 1"
                        and a.childCount], "the program on the accessibility bus")[0]
    return walk(app)


def awaited(kind, name, state=pyatspi.STATE_ACTIVE):  # once in state, by default active: keys sent before are lost
    return poll(lambda: [n for n in accessible(state, name=name) if role(n) == kind], name)[0]


@pytest.fixture(scope="session")
def bus():  # a private D-Bus with accessibility on, as a screen reader leaves it, for this process's pyatspi too
    with Servers() as bus:
        address = bus.env["DBUS_SESSION_BUS_ADDRESS"] = bus.dbus()
        call = ("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus")
        bus.run(*call, "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
                "variant:boolean:true")
        os.environ["AT_SPI_BUS_ADDRESS"] = re.search(r'"(.*)"', bus.run(*call, "org.a11y.Bus.GetAddress"))[1]
        yield address


@pytest.fixture(scope="module")
def desktop(request):
    with Servers() as desktop:
        yield desktop.x11(getattr(request, "param", "openbox"), getattr(request.module, "SCREEN", (1280, 1024)))


@pytest.fixture
def program(desktop):
    with Program(desktop) as p:
        yield p
        assert p.process.poll() is None, "the program ended by itself"
