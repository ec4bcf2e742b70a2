import math, pytest

from conftest import PANEL, box_around, ink

PAPER = (0, 0, PANEL, 460)  # the drawing area above the comment line
MOVES = [(100, 100), (140, 100), (180, 140)]


def stray(image, points, reach):  # ink on the paper farther than reach from every point
    return [p for p in ink(image, PAPER) if all(math.dist(p[:2], q) > reach for q in points)]


@pytest.mark.parametrize("clicks, colour, width", [({}, (0, 0, 0), 1), (  # thickness down, red, green, blue right:
    {(PANEL + 116, 389): 4, (PANEL + 173, 437): 5, (PANEL + 173, 460): 4, (PANEL + 173, 484): 5}, (5, 4, 5), 5)],
                         ids=["as it starts", "picked on the scroll bars"])
def test_a_dot_where_the_mouse_moves(program, clicks, colour, width):
    for a in [a for k in range(5) for a, n in clicks.items() if k < n]:  # round the bars: no double click on one
        program.desktop.xdotool("mousemove", "--sync", *program.at(*a), "click", 1)
    program.stroke((60, 100), *MOVES)
    image = program.canvas()
    for x, y in MOVES:
        xs, ys, colours = zip(*ink(image, box_around((x, y), width)))
        assert (min(xs), min(ys), max(xs) + 1, max(ys) + 1) == box_around((x, y), width // 2)
        assert set(colours) == {colour} and (width < 5 or (min(xs), min(ys)) not in zip(xs, ys)), "round"
    assert not stray(image, MOVES, width), "the press draws nothing and nothing joins the dots"

