import pyatspi, pytest

from conftest import Program, accessible, poll, role

NAMED = [("push button", c, "") for c in ("Cancella tutto", "Bianco", "Nero", "Cornice ON", "Cornice OF",
                                          "Linea per effetto 3D", "Spessore 1 colore nero:", "Colore dello stile:")]
NAMED += [("scroll bar", bar, "") for bar in ("Rosso", "Verde", "Blu", "Spessore")] + [
    ("combo box", "Punto continuo al Click", "Modo di disegno"), ("combo box", "100", "Diametro input DX del mouse"),
    ("combo box", "Stile dello sfondo:", "Stile della cornice"), ("text", "Commento", ""),
    ("filler", "Area di disegno", "")]
TAB_ORDER = ("Spessore", "Cancella tutto", "Nero", "Bianco", "Blu", "Verde", "Linea per effetto 3D", "Commento",
             "Rosso", "Spessore 1 colore nero:", "Cornice ON", "Cornice OF", "Modo di disegno",
             "Diametro input DX del mouse", "Stile della cornice", "Colore dello stile:", "Spessore")


@pytest.fixture(scope="module")
def program(desktop, bus):
    with Program(desktop, DBUS_SESSION_BUS_ADDRESS=bus) as p:
        p.tree = accessible()
        yield p


@pytest.mark.parametrize("kind, name, about", NAMED, ids=[n for _, n, _ in NAMED])
def test_control_has_its_role_and_name(program, kind, name, about):
    assert len([n for n in program.tree if (role(n), n.name) == (kind, name)
                and n.description.startswith(about)]) == 1


def test_tab_reaches_every_control_and_alt_f_c_closes(program):
    def focused():  # what a screen reader says: the name, or for a list what it is for
        node = accessible(pyatspi.STATE_FOCUSED, pyatspi.STATE_SHOWING)
        return node and (node[0].description if role(node[0]) == "combo box" else node[0].name)
    for name in TAB_ORDER:  # from the thickness bar, which has the focus first, round to it
        poll(lambda: focused() == name, lambda: f"the focus on {name}, not on {focused()}")
        program.desktop.key("Tab")
    program.desktop.key("alt+f", "c")
    assert program.process.wait(15) == 0
