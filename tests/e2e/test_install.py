import email.utils, glob, gzip, os, re, shlex
from pathlib import Path
from xml.etree import ElementTree

from PIL import Image

from conftest import Servers, poll
from test_copy import listening

APP = "org.pittorello.Pittorello"
DRAWN = Path(__file__).parents[2] / "src/app/resources"  # icon-16.xpm and icon-32.xpm


def test_the_unpacked_package_validates_and_its_menu_entry_shows_the_program_with_all_it_maps_in_its_depends():
    package, = glob.glob(os.environ["PITTORELLO_PACKAGES"] + "/pittorello_*.deb")  # the one scripts/package leaves
    with Servers() as root:  # the package unpacked, and the HOME of the program started from it
        root.run("dpkg-deb", "-x", package, root.home)
        share = Path(root.home, "usr/share")
        entry = share / f"applications/{APP}.desktop"
        root.run("desktop-file-validate", entry)
        assert {"Name=Pittorello 1", f"Icon={APP}"} <= set(entry.read_text().splitlines())
        assert root.run("sh", "-c", 'man --warnings -l "$0" 2>&1 >/dev/null', *share.glob("man/man1/*")) == ""
        for side, drawn in (16, 16), (32, 32), (64, 32), (128, 32), (256, 32):  # each pixel a square, no blur
            icon = Image.open(share / f"icons/hicolor/{side}x{side}/apps/{APP}.png")
            scaled = Image.open(DRAWN / f"icon-{drawn}.xpm").resize((side, side), Image.NEAREST)
            assert (icon.format, list(icon.convert("RGBA").getdata())) == ("PNG", list(scaled.convert("RGBA").getdata()))

        # The software centres' catalogue, built as the distribution builds it, metainfo validated on the way.
        out = Path(root.home, "catalogue/usr/share/swcatalog")
        report = root.run("appstreamcli", "compose", "--no-net", "--print-report=full", "--origin=pittorello",
                          f"--result-root={out.parents[2]}", root.home, check=False)
        assert not re.findall(r"^ *[EW]: .*", report, re.M), report
        component, = ElementTree.parse(gzip.open(out / "xml/pittorello.xml.gz")).iterfind(f"component[id='{APP}']")
        cached = {int(icon.get("width")) for icon in component.iterfind("icon[@type='cached']")}
        assert {64, 128} <= cached and all((out / f"icons/pittorello/{s}x{s}/{APP}.png").is_file() for s in cached)
        with gzip.open(share / "doc/pittorello/changelog.gz", "rt") as changelog:  # the release's one source
            dated = email.utils.parsedate_to_datetime(re.search(r"^ -- .*>  (.*)$", changelog.read(), re.M)[1])
        release, = ElementTree.parse(share / f"metainfo/{APP}.metainfo.xml").iterfind("releases/release")
        assert (release.get("version"), release.get("date")) == (
            root.run("dpkg-deb", "-f", package, "Version").strip(), dated.date().isoformat())

        def owners(pid, files=r"/usr/\S+\.so\S*|/usr/share/\S+"):  # the packages of the files it maps
            mapped = set(re.findall(rf"\s({files})$", Path(f"/proc/{pid}/maps").read_text(), re.M))
            found = root.run("dpkg", "-S", *mapped, *(path[4:] for path in mapped), check=False)  # /lib before usrmerge
            return {owner.split(":")[0] for owner in found.splitlines()}

        def reached(*fields):  # by the package's own fields, and on by their packages' Depends
            depends = re.sub(r"\(.*?\)|[,|]|\S+:", " ", root.run("dpkg-deb", "-f", package, *fields)).split()
            return set(root.run("apt-cache", "depends", "--recurse", "--installed", "--important", *depends).splitlines())

        command = shlex.split(re.search(r"^Exec=(.*)$", entry.read_text(), re.M)[1])
        root.env["PATH"] = f"{share.parent}/bin:{root.env['PATH']}"  # the unpacked program first
        pid = root.x11(None).spawn(command).pid
        poll(lambda: root.xdotool("search", "--onlyvisible", "--name", "^Pittorello 1$", check=False), "the window")
        optional = r"/usr/\S+/qt6/plugins/(?:imageformats|iconengines)/\S+"  # Qt loads them where they are installed
        assert owners(pid) - owners(pid, optional) - reached("Depends") == set()
        root.spawn(["weston", "--backend=x11-backend.so", "--socket=wayland-0", "--idle-time=0"])  # without Xwayland
        poll(lambda: listening(f"{root.home}/wayland-0"), "weston")
        pid = root.spawn(command, env={**root.env, "DISPLAY": "", "WAYLAND_DISPLAY": "wayland-0"}).pid
        platform = poll(lambda: owners(pid, r"/usr/\S+/platforms/\S+\.so"), "the program on weston")
        assert platform <= reached("Depends", "Recommends")  # as sway and weston come: Wayland from what it recommends
