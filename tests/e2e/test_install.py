import email.utils, glob, gzip, os, re, shlex
from pathlib import Path
from xml.etree import ElementTree

import pytest
from PIL import Image

from conftest import Servers, poll
from test_copy import listening
from test_copy import listening

APP = "org.pittorello.Pittorello"
DRAWN = Path(__file__).parents[2] / "src/app/resources"  # icon-16.xpm and icon-32.xpm


@pytest.fixture(scope="module")
def root():  # the package unpacked, and the HOME of the program started from it
    with Servers() as root:
        root.package, = glob.glob(os.environ["PITTORELLO_PACKAGES"] + "/pittorello_*.deb")  # scripts/package's
        root.run("dpkg-deb", "-x", root.package, root.home)
        root.share = Path(root.home, "usr/share")
        root.entry = root.share / f"applications/{APP}.desktop"
        yield root.x11(None)


def test_the_menu_entry_validates(root):  # the manual page: lintian reads it with man --warnings
    root.run("desktop-file-validate", root.entry)
    assert {"Name=Pittorello 1", f"Icon={APP}"} <= set(root.entry.read_text().splitlines())


@pytest.mark.parametrize("side, drawn", [(16, 16), (32, 32), (64, 32), (128, 32), (256, 32)])
def test_each_icon_is_its_drawing_scaled_by_a_whole_number(root, side, drawn):  # each pixel a square, no blur
    icon = Image.open(root.share / f"icons/hicolor/{side}x{side}/apps/{APP}.png")
    scaled = Image.open(DRAWN / f"icon-{drawn}.xpm").resize((side, side), Image.NEAREST)
    assert (icon.format, list(icon.convert("RGBA").getdata())) == ("PNG", list(scaled.convert("RGBA").getdata()))


def test_the_software_centres_catalogue_keeps_it_with_its_icons(root):  # as the distribution composes it
    out = Path(root.home, "catalogue/usr/share/swcatalog")
    report = root.run("appstreamcli", "compose", "--no-net", "--print-report=full", "--origin=pittorello",
                      f"--result-root={out.parents[2]}", root.home, check=False)
    assert not re.findall(r"^ *[EW]: .*", report, re.M), report
    component, = ElementTree.parse(gzip.open(out / "xml/pittorello.xml.gz")).iterfind(f"component[id='{APP}']")
    cached = {int(icon.get("width")) for icon in component.iterfind("icon[@type='cached']")}
    assert {64, 128} <= cached and all((out / f"icons/pittorello/{s}x{s}/{APP}.png").is_file() for s in cached)


def test_its_release_is_the_packages_upstream_version_of_the_changelogs_date(root):
    with gzip.open(root.share / "doc/pittorello/changelog.Debian.gz", "rt") as changelog:  # the release's one source
        dated = email.utils.parsedate_to_datetime(re.search(r"^ -- .*>  (.*)$", changelog.read(), re.M)[1])
    version = root.run("dpkg-deb", "-f", root.package, "Version").strip()
    release, = ElementTree.parse(root.share / f"metainfo/{APP}.metainfo.xml").iterfind("releases/release")
    assert (release.get("version"), release.get("date")) == (re.sub(r"^\d+:|-[^-]*$", "", version),
                                                             dated.date().isoformat())


def owners(root, pid, files=r"/usr/\S+\.so\S*|/usr/share/\S+"):  # the files it maps, and their packages
    mapped = set(re.findall(rf"\s({files})$", Path(f"/proc/{pid}/maps").read_text(), re.M))
    return mapped, root.run("dpkg", "-S", *mapped, *(path[4:] for path in mapped), check=False)  # /lib before usrmerge


def reached(root, *fields):  # by the package's own fields, and on by their packages' Depends
    depends = re.sub(r"\(.*?\)|[,|]", " ", root.run("dpkg-deb", "-f", root.package, *fields)).split()
    return set(root.run("apt-cache", "depends", "--recurse", "--installed", "--important", *depends).splitlines())


def started(root, **env):  # from its menu entry, the unpacked program first on the PATH
    command = shlex.split(re.search(r"^Exec=(.*)$", root.entry.read_text(), re.M)[1])
    return root.spawn(command, env={**root.env, "PATH": f"{root.share.parent}/bin:{root.env['PATH']}", **env}).pid


def test_the_menu_entry_starts_it_with_all_it_maps_in_its_depends(root):
    pid = started(root)
    poll(lambda: root.xdotool("search", "--onlyvisible", "--name", "^Pittorello 1$", check=False), "the window")
    mapped, found = owners(root, pid)
    root.run("apt-get", "install", "--simulate", root.package)  # its Depends, as this release names them, install
    depends = reached(root, "Depends")
    beyond = {path if path.startswith("/usr/") else "/usr" + path for owner, path in re.findall(r"^(.*): (/.*)$", found, re.M)
              if not {name.split(":")[0] for name in owner.split(", ")} & depends}
    # Qt loads the plugins it finds: other packages' (a desktop's), and what they alone link, are no need of the program's.
    plugins = {path for path in mapped if "/qt6/plugins/" in path}
    linked = lambda *files: {os.path.realpath(f) for f in re.findall(r"=> (/\S+)", root.run("ldd", "/bin/true", *files))}
    needed = linked(root.share.parent / "bin/pittorello", *plugins - beyond)
    assert beyond - ((plugins | linked(*plugins & beyond)) - needed) == set()


def test_on_a_wayland_session_without_xwayland_what_it_recommends_runs_it(root):  # as sway and weston come
    root.spawn(["weston", "--backend=x11-backend.so", "--socket=wayland-0", "--idle-time=0"])
    poll(lambda: listening(f"{root.home}/wayland-0"), "weston")
    pid = started(root, DISPLAY="", WAYLAND_DISPLAY="wayland-0")
    _, found = poll(lambda: (o := owners(root, pid, r"/usr/\S+/platforms/\S+\.so"))[0] and o, "the program on weston")
    assert {owner.split(":")[0] for owner in found.splitlines()} <= reached(root, "Depends", "Recommends")
