import pytest

from conftest import CANVAS, Program, Servers, poll


@pytest.fixture(scope="module", params=["openbox", "icewm"])
def program(request):
    with Servers() as desktop:
        yield Program(desktop.x11(request.param))


def size(program):
    return program.desktop.geometry(program.window)[2:]


def test_the_window_keeps_its_size(program):
    start = size(program)
    assert start[0] == CANVAS[0] and start[1] > CANVAS[1], "the canvas below the menu bar"
    program.desktop.xdotool("windowsize", program.window, 600, 400)  # the size must come back and stay for 0.5 s
    poll(lambda: size(program) == start, lambda: f"the window back at {start}, not {size(program)}", 5, times=20)


@pytest.mark.parametrize("key, width", [("a", 567), ("n", CANVAS[0])], ids=["preview", "normal"])
def test_print_size_and_back(program, key, width):
    program.desktop.key("alt+v", key)
    poll(lambda: size(program)[0] == width, lambda: f"a client area {width} px wide, not {size(program)[0]}", 5)
