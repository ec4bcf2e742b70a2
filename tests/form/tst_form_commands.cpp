#include "FakePlatform.h"
#include "app/Application.h"
#include "app/Form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <cmath>

namespace {

constexpr QRgb white = 0xFFFFFFFF;
// Where every 3D line ends: (0, 2000) twips.
const QPointF lineEnd(0, 2000 / 15.0);

bool near(const QImage &image, QPointF at, QRgb colour)
{
    const QPoint p(int(std::floor(at.x())), int(std::floor(at.y())));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.rect().contains(p + QPoint(dx, dy)) && image.pixel(p + QPoint(dx, dy)) == colour)
                return true;
    return false;
}

// Every sampled point from a to b carries the colour (within a pixel).
bool joined(const QImage &image, QPointF a, QPointF b, QRgb colour)
{
    for (int i = 0; i <= 20; ++i)
        if (!near(image, a + (b - a) * (i / 20.0), colour))
            return false;
    return true;
}

int countOf(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

// Inked pixels in the column through the middle of a-b.
int crossSection(const QImage &image, QPointF a, QPointF b, QRgb colour)
{
    const QPointF mid = (a + b) / 2;
    const int x = int(mid.x());
    int count = 0;
    for (int y = int(mid.y()) - 40; y <= int(mid.y()) + 40; ++y)
        count += image.pixel(x, y) == colour;
    return count;
}

// A point of the face of a button, clear of its caption and border.
QRgb faceOf(QWidget *button)
{
    return button->grab().toImage().pixel(8, button->height() / 2);
}

QColor colourOf(quint32 bgr) { return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF)); }

} // namespace

class TestFormCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lineStartsWhereTheLastDrawingEnded_data();
    void lineStartsWhereTheLastDrawingEnded();
    void repeatedLinesMakeAFan();
    void clearAllTouchesNothingElse();
    void frameDecoration_data();
    void frameDecoration();
    void patternColour_data();
    void patternColour();
    void commentBoxEmptiesOnClick_data();
    void commentBoxEmptiesOnClick();
    void backgroundColour_data();
    void backgroundColour();
    void panelKeepsItsFaceOverTheDrawing();

private:
    void setPen(int thickness, QColor colour);
    void dot(QPoint at);
    void rightCircle(QPoint at);
    void pick(QComboBox *list, const QString &entry);
    void act(const QString &step);
    bool uniform(QRgb colour) const;
    QRgb pixel(QPoint at) const { return form->ui.canvas->image().pixel(at); }

    FakePlatform *fake = nullptr;
    Form1 *form = nullptr;
    QStringList *shown = nullptr;
};

void TestFormCommands::initTestCase()
{
    Application::setUp(*qApp);
}

void TestFormCommands::init()
{
    fake = new FakePlatform;
    shown = &fake->messageBox.shown;
    // The chooser logs its opening among the messages, so their order shows.
    fake->dialog.events = shown;
    form = new Form1(fake->platform());
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));
}

void TestFormCommands::cleanup()
{
    delete form;
    delete fake;
}

void TestFormCommands::setPen(int thickness, QColor colour)
{
    form->ui.VScroll1->setValue(thickness);
    form->ui.HScroll1->setValue(colour.red());
    form->ui.HScroll2->setValue(colour.green());
    form->ui.HScroll3->setValue(colour.blue());
}

// The press itself draws nothing: the dot comes with the move.
void TestFormCommands::dot(QPoint at)
{
    QTest::mousePress(form->ui.canvas, Qt::LeftButton, {}, at - QPoint(1, 0));
    QTest::mouseMove(form->ui.canvas, at);
    QTest::mouseRelease(form->ui.canvas, Qt::LeftButton, {}, at);
}

void TestFormCommands::rightCircle(QPoint at)
{
    QTest::mousePress(form->ui.canvas, Qt::RightButton, {}, at);
    QTest::mouseRelease(form->ui.canvas, Qt::RightButton, {}, at);
}

// As the user does it: drop the list down and click the entry.
void TestFormCommands::pick(QComboBox *list, const QString &entry)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = view->model()->index(list->findText(entry), 0);
    QVERIFY(index.isValid());
    const QPoint at = view->visualRect(index).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(!view->isVisible());
}

// "ON" and "OF" press the frame buttons; a digit is picked from the pattern list.
void TestFormCommands::act(const QString &step)
{
    if (step == QLatin1String("ON"))
        QTest::mouseClick(form->ui.Command6, Qt::LeftButton);
    else if (step == QLatin1String("OF"))
        QTest::mouseClick(form->ui.Command7, Qt::LeftButton);
    else
        pick(form->ui.Combo3, step);
}

bool TestFormCommands::uniform(QRgb colour) const
{
    const QImage &image = form->ui.canvas->image();
    return countOf(image, colour) == image.width() * image.height();
}

void TestFormCommands::lineStartsWhereTheLastDrawingEnded_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<bool>("barsMovedAfterPress");
    QTest::addColumn<QPointF>("start");

    QTest::newRow("after a dot") << "dot" << QPoint(400, 300) << 1 << false << QPointF(400.5, 300.5);
    QTest::newRow("after a dot of thickness 5") << "dot" << QPoint(300, 133) << 5 << false << QPointF(300, 133);
    QTest::newRow("after a dot of thickness 20") << "dot" << QPoint(450, 140) << 20 << false << QPointF(450, 140);
    QTest::newRow("pen of the press, not of the bars") << "dot" << QPoint(500, 200) << 3 << true
                                                        << QPointF(500, 200);
    QTest::newRow("from a right-button circle's centre") << "circle" << QPoint(250, 250) << 1 << false
                                                         << QPointF(250.5, 250.5);
    QTest::newRow("after clear, from the top-left corner") << "clear" << QPoint(300, 300) << 1 << false
                                                           << QPointF(0.5, 0);
}

void TestFormCommands::lineStartsWhereTheLastDrawingEnded()
{
    QFETCH(QString, before);
    QFETCH(QPoint, at);
    QFETCH(int, thickness);
    QFETCH(bool, barsMovedAfterPress);
    QFETCH(QPointF, start);
    const QColor pen(200, 30, 60);
    setPen(thickness, pen);
    if (before == QLatin1String("circle")) {
        rightCircle(at);
        QCOMPARE(pixel(at), white);
    } else {
        dot(at);
    }
    if (before == QLatin1String("clear"))
        QTest::mouseClick(form->ui.Command3, Qt::LeftButton);
    if (barsMovedAfterPress)
        setPen(40, QColor(0, 255, 0));

    QTest::mouseClick(form->ui.Command4, Qt::LeftButton);

    const QImage &image = form->ui.canvas->image();
    QVERIFY(joined(image, start, lineEnd, pen.rgb()));
    QCOMPARE(form->ui.canvas->currentPosition(), QPointF(0, 2000));
    if (before == QLatin1String("clear"))
        QCOMPARE(pixel(at), white);
    // A vertical section of a line is its thickness over the cosine of its slope.
    if (std::abs(start.x() - lineEnd.x()) > std::abs(start.y() - lineEnd.y())) {
        const double slope = std::atan2(lineEnd.y() - start.y(), lineEnd.x() - start.x());
        const double expected = thickness / std::abs(std::cos(slope));
        QVERIFY2(std::abs(crossSection(image, start, lineEnd, pen.rgb()) - expected) <= 1.5,
                 qPrintable(QString::number(crossSection(image, start, lineEnd, pen.rgb()))));
    }
    QCOMPARE(pixel(QPoint(0, 150 + thickness)), white);
    QVERIFY(shown->isEmpty());
}

void TestFormCommands::repeatedLinesMakeAFan()
{
    const QList<QPoint> dots{{400, 50}, {250, 300}, {520, 460}, {120, 200}, {60, 20}};
    const QColor pen(10, 20, 200);
    setPen(1, pen);
    for (const QPoint &at : dots) {
        dot(at);
        QTest::mouseClick(form->ui.Command4, Qt::LeftButton);
    }
    const QImage &image = form->ui.canvas->image();
    for (const QPoint &at : dots)
        QVERIFY2(joined(image, QPointF(at) + QPointF(0.5, 0.5), lineEnd, pen.rgb()),
                 qPrintable(QStringLiteral("no line from %1,%2").arg(at.x()).arg(at.y())));
    // Nothing joins one dot to the next: each line leaves from its dot alone.
    QVERIFY(!joined(image, QPointF(400.5, 50.5), QPointF(250.5, 300.5), pen.rgb()));
    QVERIFY(!joined(image, QPointF(520.5, 460.5), QPointF(120.5, 200.5), pen.rgb()));
}

void TestFormCommands::clearAllTouchesNothingElse()
{
    Ui::Form1 &ui = form->ui;
    fake->dialog.colour = 0x00C08040;
    ui.cds->trigger();
    QTest::mouseClick(ui.Command6, Qt::LeftButton);
    pick(ui.Combo3, QStringLiteral("3"));
    fake->dialog.colour = 0x000000FF;
    QTest::mouseClick(ui.Command8, Qt::LeftButton);
    pick(ui.Combo1, QStringLiteral("Cerchio continuo SENZA Click"));
    setPen(4, QColor(0, 90, 0));
    dot(QPoint(300, 300));
    ui.Text1->setText(QStringLiteral("una nota"));
    setPen(9, QColor(255, 255, 0));
    const QRgb background = colourOf(0x00C08040).rgb();
    const QRgb commentFace = ui.Text1->grab().toImage().pixel(ui.Text1->width() - 6, ui.Text1->height() / 2);
    shown->clear();

    QTest::mouseClick(ui.Command3, Qt::LeftButton);

    QVERIFY(uniform(background));
    QCOMPARE(ui.canvas->currentPosition(), QPointF(0, 0));
    QCOMPARE(ui.Text1->text(), QString());
    QCOMPARE(ui.Text1->grab().toImage().pixel(ui.Text1->width() - 6, ui.Text1->height() / 2), commentFace);
    QCOMPARE(ui.Combo1->currentText(), QStringLiteral("Punto continuo al Clik"));
    // The circle trail is over: hovering leaves nothing.
    QTest::mouseMove(ui.canvas, QPoint(200, 200));
    QTest::mouseMove(ui.canvas, QPoint(210, 205));
    QVERIFY(uniform(background));
    // The list agrees with its text: the next entry down is the circle trail again.
    ui.Combo1->setFocus();
    QTest::keyClick(ui.Combo1, Qt::Key_Down);
    QCOMPARE(ui.Combo1->currentText(), QStringLiteral("Cerchio continuo SENZA Click"));

    QVERIFY(ui.Shape1->isVisible() && ui.Shape2->isVisible());
    QCOMPARE(ui.Shape1->fillStyle(), 3);
    QCOMPARE(ui.Shape1->fillColor(), QColor(255, 0, 0));
    QCOMPARE(ui.canvas->foreColor(), QColor(0, 90, 0));
    QCOMPARE(ui.canvas->drawWidth(), 4);
    QCOMPARE(ui.canvas->backColor().rgb(), background);
    QVERIFY(!form->penDown());
    QCOMPARE(ui.VScroll1->value(), 9);
    QCOMPARE(ui.HScroll1->value(), 255);
    QVERIFY(shown->isEmpty());
}

void TestFormCommands::frameDecoration_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("shape1");
    QTest::addColumn<bool>("shape2");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<bool>("onIsGreen");

    QTest::newRow("at start") << QStringList{} << false << false << 1 << false;
    QTest::newRow("ON") << QStringList{"ON"} << true << true << 1 << true;
    QTest::newRow("ON twice") << QStringList{"ON", "ON"} << true << true << 1 << true;
    QTest::newRow("ON, OF") << QStringList{"ON", "OF"} << false << false << 1 << false;
    QTest::newRow("ON, OF twice") << QStringList{"ON", "OF", "OF"} << false << false << 1 << false;
    QTest::newRow("ON, OF, ON") << QStringList{"ON", "OF", "ON"} << true << true << 1 << true;
    QTest::newRow("OF then 4 shows Shape1 alone") << QStringList{"OF", "4"} << true << false << 4 << false;
    QTest::newRow("ON, OF, 2") << QStringList{"ON", "OF", "2"} << true << false << 2 << false;
    QTest::newRow("ON then 5 keeps both") << QStringList{"ON", "5"} << true << true << 5 << true;
    QTest::newRow("1 at start stays hidden") << QStringList{"1"} << false << false << 1 << false;
    QTest::newRow("1 after ON hides Shape1 alone") << QStringList{"ON", "1"} << false << true << 1 << true;
    QTest::newRow("1 after 6 hides Shape1") << QStringList{"6", "1"} << false << false << 1 << false;
    QTest::newRow("1 after ON and 3") << QStringList{"ON", "3", "1"} << false << true << 1 << true;
    QTest::newRow("pattern outlives OF and ON") << QStringList{"6", "OF", "ON"} << true << true << 6 << true;
}

void TestFormCommands::frameDecoration()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, shape1);
    QFETCH(bool, shape2);
    QFETCH(int, pattern);
    QFETCH(bool, onIsGreen);
    Ui::Form1 &ui = form->ui;
    const QRgb ordinaryFace = faceOf(ui.Command4);

    for (const QString &step : steps)
        act(step);

    QCOMPARE(ui.Shape1->isVisible(), shape1);
    QCOMPARE(ui.Shape2->isVisible(), shape2);
    QCOMPARE(ui.Shape1->fillStyle(), pattern);
    const QRgb green = faceOf(onIsGreen ? ui.Command6 : ui.Command7);
    QVERIFY2(qGreen(green) > 90 && qRed(green) < 80 && qBlue(green) < 80, qPrintable(QString::number(green, 16)));
    QWidget *other = onIsGreen ? ui.Command7 : ui.Command6;
    // Until a frame button is pressed "Cornice ON" keeps its design colour, a
    // grey darker than the button face.
    if (steps.contains(QLatin1String("ON")) || steps.contains(QLatin1String("OF")))
        QCOMPARE(faceOf(other), ordinaryFace);
    else
        QVERIFY(qGray(faceOf(other)) < qGray(ordinaryFace) - 20);
    QVERIFY(shown->isEmpty());
}

void TestFormCommands::patternColour_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("failRead");
    QTest::addColumn<bool>("takesNewColour");

    QTest::newRow("colour chosen") << int(FakeCommonDialog::Choose) << 0 << true;
    QTest::newRow("chooser cancelled") << int(FakeCommonDialog::Cancel) << 0 << false;
    QTest::newRow("chooser fails") << int(FakeCommonDialog::Fail) << 0 << false;
    QTest::newRow("colour unreadable") << int(FakeCommonDialog::Choose) << 1 << false;
}

void TestFormCommands::patternColour()
{
    QFETCH(int, outcome);
    QFETCH(int, failRead);
    QFETCH(bool, takesNewColour);
    Ui::Form1 &ui = form->ui;
    act(QStringLiteral("ON"));
    act(QStringLiteral("4"));
    fake->dialog.colour = 0x0000A0FF;
    QTest::mouseClick(ui.Command8, Qt::LeftButton);
    QCOMPARE(ui.Shape1->fillColor(), QColor(255, 160, 0));

    fake->dialog.outcome = FakeCommonDialog::Outcome(outcome);
    fake->dialog.failColourRead = failRead;
    fake->dialog.colour = 0x00FF8000;
    QTest::mouseClick(ui.Command8, Qt::LeftButton);

    QCOMPARE(fake->dialog.colourDialogsOpened, 2);
    QCOMPARE(ui.Shape1->fillColor(), takesNewColour ? QColor(0, 128, 255) : QColor(255, 160, 0));
    QCOMPARE(ui.Shape1->fillStyle(), 4);
    QVERIFY(ui.Shape1->isVisible() && ui.Shape2->isVisible());
    QVERIFY(uniform(white));
    // Errors of the chooser end the handler without a word.
    QCOMPARE(*shown, QStringList(2, QStringLiteral("colour dialog")));
}

void TestFormCommands::commentBoxEmptiesOnClick_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("left");

    QTest::newRow("click at start removes the initial text") << QString() << int(Qt::LeftButton) << QString();
    QTest::newRow("click after typing erases the note") << "una nota" << int(Qt::LeftButton) << QString();
    QTest::newRow("middle button is no click") << "una nota" << int(Qt::MiddleButton) << "Commento:una nota";
}

void TestFormCommands::commentBoxEmptiesOnClick()
{
    QFETCH(QString, typed);
    QFETCH(int, button);
    QFETCH(QString, left);
    QLineEdit *comment = form->ui.Text1;
    comment->setFocus();
    comment->end(false);
    QTest::keyClicks(comment, typed);
    QCOMPARE(comment->text(), QStringLiteral("Commento:") + typed);
    QTest::mouseClick(comment, Qt::MouseButton(button), {}, QPoint(20, comment->height() / 2));

    QCOMPARE(comment->text(), left);
    QVERIFY(uniform(white));
}

void TestFormCommands::backgroundColour_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("failRead");
    QTest::addColumn<bool>("canvasTakesIt");
    QTest::addColumn<bool>("commentTakesIt");

    QTest::newRow("colour chosen") << int(FakeCommonDialog::Choose) << 0 << true << true;
    QTest::newRow("chooser cancelled") << int(FakeCommonDialog::Cancel) << 0 << false << false;
    QTest::newRow("chooser fails") << int(FakeCommonDialog::Fail) << 0 << false << false;
    QTest::newRow("first colour read fails") << int(FakeCommonDialog::Choose) << 1 << false << false;
    QTest::newRow("second colour read fails") << int(FakeCommonDialog::Choose) << 2 << true << false;
}

// Each case follows an earlier successful change, so "unchanged" cannot be the start colour by chance.
void TestFormCommands::backgroundColour()
{
    QFETCH(int, outcome);
    QFETCH(int, failRead);
    QFETCH(bool, canvasTakesIt);
    QFETCH(bool, commentTakesIt);
    Ui::Form1 &ui = form->ui;
    const QString warning = QStringLiteral("Attenzione questa impostazione va usata prima di iniziare a disegnare, "
                                           "altrimenti cancella tutto il disegno!");
    const QColor first(64, 128, 192), second(10, 200, 30), pen(90, 0, 90);
    const QPoint at(300, 300);
    QLineEdit *comment = ui.Text1;
    const auto commentFace = [comment] {
        return comment->grab().toImage().pixel(comment->width() - 6, comment->height() / 2);
    };
    fake->dialog.colour = 0x00C08040;
    ui.cds->trigger();
    QVERIFY(uniform(first.rgb()));
    QCOMPARE(commentFace(), first.rgb());
    act(QStringLiteral("ON"));
    setPen(3, pen);
    dot(at);
    comment->setText(QStringLiteral("una nota"));

    fake->dialog.outcome = FakeCommonDialog::Outcome(outcome);
    fake->dialog.failColourRead = failRead;
    fake->dialog.colour = 0x001EC80A;
    ui.cds->trigger();

    const QStringList once{warning, QStringLiteral("colour dialog")};
    QCOMPARE(*shown, once + once);
    const QColor canvasColour = canvasTakesIt ? second : first;
    QCOMPARE(ui.canvas->backColor(), canvasColour);
    QCOMPARE(pixel(at), canvasTakesIt ? second.rgb() : pen.rgb());
    QCOMPARE(commentFace(), commentTakesIt ? second.rgb() : first.rgb());
    QCOMPARE(comment->text(), QStringLiteral("una nota"));
    QCOMPARE(ui.canvas->foreColor(), pen);
    QVERIFY(ui.Shape1->isVisible() && ui.Shape2->isVisible());
    // A later clear fills with whatever the window took.
    QTest::mouseClick(ui.Command3, Qt::LeftButton);
    QVERIFY(uniform(canvasColour.rgb()));
}

// The panel has a face of its own: neither the background colour nor a
// circle reaching under it shows through its bare surface.
void TestFormCommands::panelKeepsItsFaceOverTheDrawing()
{
    Ui::Form1 &ui = form->ui;
    const QColor pen(250, 0, 0);
    const QRect bare(QPoint(ui.Frame1->x() + 4, 190), QPoint(ui.Frame1->x() + 12, 226));
    const QRgb face = form->grab().toImage().pixel(bare.center() + ui.canvas->pos());
    fake->dialog.colour = 0x00FF0000;
    ui.cds->trigger();
    ui.Combo2->setEditText(QStringLiteral("500"));
    setPen(3, pen);
    rightCircle(QPoint(ui.Frame1->x() - 8, 230));
    QVERIFY(near(ui.canvas->image(), QPointF(ui.Frame1->x() + 8, 230 - 29.2), pen.rgb()));

    const QImage window = form->grab().toImage();
    for (int y = bare.top(); y <= bare.bottom(); ++y)
        for (int x = bare.left(); x <= bare.right(); ++x)
            QCOMPARE(window.pixel(QPoint(x, y) + ui.canvas->pos()), face);
}

QTEST_MAIN(TestFormCommands)
#include "tst_form_commands.moc"
