import glob, os, re, shlex
from pathlib import Path

from PIL import Image

from conftest import Servers, poll

APP = "org.pittorello.Pittorello"


def test_the_unpacked_package_validates_and_its_menu_entry_shows_the_program_with_all_it_maps_in_its_depends():
    package, = glob.glob(os.environ["PITTORELLO_PACKAGES"] + "/pittorello_*.deb")  # the one scripts/package leaves
    with Servers() as root:  # the package unpacked, and the HOME of the program started from it
        root.run("dpkg-deb", "-x", package, root.home)
        share = Path(root.home, "usr/share")
        entry, metainfo = share / f"applications/{APP}.desktop", share / f"metainfo/{APP}.metainfo.xml"
        root.run("desktop-file-validate", entry)
        root.run("appstreamcli", "validate", "--no-net", metainfo)
        assert {"Name=Pittorello 1", f"Icon={APP}"} <= set(entry.read_text().splitlines())
        assert f'<launchable type="desktop-id">{APP}.desktop</launchable>' in metainfo.read_text()
        icons = [Image.open(share / f"icons/hicolor/{side}x{side}/apps/{APP}.png") for side in (16, 32)]
        assert [(icon.format, icon.size) for icon in icons] == [("PNG", (16, 16)), ("PNG", (32, 32))]
        assert root.run("sh", "-c", 'man --warnings -l "$0" 2>&1 >/dev/null', *share.glob("man/man1/*")) == ""

        command = re.search(r"^Exec=(.*)$", entry.read_text(), re.M)[1]
        pid = root.x11(None).spawn(shlex.split(command), env={**root.env, "PATH": f"{share.parent}/bin"}).pid
        poll(lambda: root.xdotool("search", "--onlyvisible", "--name", "^Pittorello 1$", check=False), "the window")
        mapped = set(re.findall(r"\s(/usr/\S+\.so\S*|/usr/share/\S+)$", Path(f"/proc/{pid}/maps").read_text(), re.M))
        owners = root.run("dpkg", "-S", *mapped, *(path[4:] for path in mapped), check=False)  # /lib before usrmerge
        depends = re.sub(r"\(.*?\)|[,|]", " ", root.run("dpkg-deb", "-f", package, "Depends")).split()
        reached = root.run("apt-cache", "depends", "--recurse", "--installed", "--important", *depends).splitlines()
        assert {owner.split(":")[0] for owner in owners.splitlines()} - set(reached) == set()
