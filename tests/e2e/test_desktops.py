import pytest

from conftest import Program, Servers


@pytest.mark.parametrize("laptop, primary, canvas", [((1366, 768), 0, (5, 61)), ((1366, 768), 1, (5, 61)),
                                                     ((1024, 560), 0, (5, 51))], ids=["laptop", "wide", "small"])
def test_the_window_opens_whole_on_the_primary_monitor_at_the_designs_place_from_its_corner(laptop, primary, canvas):
    monitors = [(0, 1080 - laptop[1], *laptop), (laptop[0], 0, 1920, 1080)]  # left of a wide one, bottoms aligned
    with Servers() as desktop:
        desktop.x11("openbox", (laptop[0] + 1920, 1080))
        for i, (x, y, width, height) in enumerate(monitors):  # the first on the screen's output, the other on none
            desktop.run("xrandr", "--setmonitor", "*" * (i == primary) + f"monitor{i}", f"{width}/1x{height}/1+{x}+{y}",
                        ("screen", "none")[i])
        with Program(desktop) as p:
            (x, y, width, height), (left, top, right, bottom) = monitors[primary], p.frame()
            assert p.origin == (x + canvas[0], y + canvas[1]) and x <= left < right <= x + width
            assert y <= top < bottom <= y + height

