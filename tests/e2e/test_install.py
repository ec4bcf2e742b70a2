import os, re, shlex, subprocess
from pathlib import Path

import pytest
from PIL import Image

from conftest import Servers

APP = "org.pittorello.Pittorello"


@pytest.fixture(scope="module")
def root():
    with Servers() as root:  # the DESTDIR, and the HOME of the program started from it
        root.env["DESTDIR"] = root.home
        root.run("cmake", "--install", os.environ["PITTORELLO_BUILD"], "--prefix", "/usr/local")
        root.share = Path(root.home, "usr/local/share")
        yield root


def test_the_menu_entry_appstream_file_and_icons(root):
    entry, metainfo = root.share / f"applications/{APP}.desktop", root.share / f"metainfo/{APP}.metainfo.xml"
    root.run("desktop-file-validate", entry)
    root.run("appstreamcli", "validate", "--no-net", metainfo)
    assert {"Name=Pittorello 1", f"Icon={APP}"} <= set(entry.read_text().splitlines())
    assert f'<launchable type="desktop-id">{APP}.desktop</launchable>' in metainfo.read_text()
    icons = [Image.open(root.share / f"icons/hicolor/{side}x{side}/apps/{APP}.png") for side in (16, 32)]
    assert [(icon.format, icon.size) for icon in icons] == [("PNG", (16, 16)), ("PNG", (32, 32))]


def test_the_exec_line_starts_the_installed_program(root):
    command = re.search(r"^Exec=(.*)$", (root.share / f"applications/{APP}.desktop").read_text(), re.M)[1]
    with pytest.raises(subprocess.TimeoutExpired):  # still running
        root.spawn(shlex.split(command), env={**root.env, "QT_QPA_PLATFORM": "offscreen",
                                              "PATH": f"{root.share.parent}/bin:{os.environ['PATH']}"}).wait(1.5)
