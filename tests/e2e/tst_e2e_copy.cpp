// Copying the window to the clipboard as a user would: draw, preview, then
// "Copia:" through the menus typed on the keyboard; another program pastes
// the image and it matches the window's frame area on screen pixel for pixel.
#include "ChildProcess.h"
#include "Ink.h"
#include "Poll.h"
#include "ProgramUnderTest.h"
#include "X11Session.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const int timeoutMs = 10000;
// The print size: 8600 x 8255 twips at 15 twips a pixel.
const QSize printSize(573, 550);

// A window's frame area on screen: its client area widened by the frame the
// window manager draws around it.
std::optional<QRect> frameArea(const X11Session &session, const QString &window)
{
    const auto client = session.clientGeometry(window);
    const QString extents = session.run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).stdOut();
    const auto m = QRegularExpression("= (\\d+), (\\d+), (\\d+), (\\d+)").match(extents);
    if (!client || !m.hasMatch())
        return std::nullopt;
    return client->adjusted(-m.captured(1).toInt(), -m.captured(3).toInt(), m.captured(2).toInt(),
                            m.captured(4).toInt());
}

QStringList clipboardTargets(const X11Session &session)
{
    return session.run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"})
        .stdOut()
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QImage pasted(const X11Session &session, const QString &type, const char *format)
{
    const QStringList args{"-selection", "clipboard", "-t", type, "-o"};
    const CommandResult r = session.run("xclip", args);
    QImage image;
    if (!r.ok() || !image.loadFromData(r.out, format))
        QTest::qFail(qPrintable(r.describe("xclip", args)), __FILE__, __LINE__);
    return image.convertToFormat(QImage::Format_RGB32);
}

// Pixels whose colour differs; -1 when the sizes do.
int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += (a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff);
    return count;
}

} // namespace

class TestE2eCopy : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copyOfThePreviewPastesAsTheWindowLooks();

private:
    std::unique_ptr<X11Session> session;
    std::unique_ptr<ProgramUnderTest> program;
};

void TestE2eCopy::init()
{
    session = std::make_unique<X11Session>();
    QVERIFY(session->start());
    program = std::make_unique<ProgramUnderTest>(*session);
    QVERIFY(program->start());
    QVERIFY(program->activate());
}

void TestE2eCopy::cleanup()
{
    program.reset();
    session.reset();
}

void TestE2eCopy::copyOfThePreviewPastesAsTheWindowLooks()
{
    // Text another program left on the clipboard; xclip serves it until the
    // selection is taken from it.
    QTemporaryDir dir;
    QFile note(dir.filePath("nota.txt"));
    QVERIFY(note.open(QIODevice::WriteOnly) && note.write("prima della copia") > 0);
    note.close();
    ChildProcess owner(QStringLiteral("xclip"));
    QVERIFY(owner.start("xclip", {"-quiet", "-selection", "clipboard", note.fileName()}, session->environment(),
                        {dir.filePath("xclip.log")}));
    QVERIFY(pollUntil([&] { return clipboardTargets(*session).contains("UTF8_STRING"); }, timeoutMs));

    QVERIFY(program->moveTo({60, 60}));
    QVERIFY(program->press());
    for (int x = 70; x <= 300; x += 10)
        QVERIFY(program->moveTo({x, 60 + x / 2}));
    QVERIFY(program->release());

    QVERIFY(program->key("alt+v"));
    QVERIFY(program->key("a"));
    const QString window = program->windowId();
    std::optional<QRect> frame;
    QVERIFY2(pollUntil([&] { return (frame = frameArea(*session, window)) && frame->size() == printSize; },
                       timeoutMs),
             qPrintable(QStringLiteral("frame area %1x%2").arg(frame ? frame->width() : -1).arg(frame ? frame->height() : -1)));

    QVERIFY(program->key("alt+f"));
    QVERIFY(program->key("Return"));
    QVERIFY(pollUntil([&] { return clipboardTargets(*session).contains("image/png"); }, timeoutMs));

    const QStringList targets = clipboardTargets(*session);
    QVERIFY2(targets.contains("image/bmp"), qPrintable(targets.join(' ')));
    QVERIFY2(!targets.contains("UTF8_STRING"), qPrintable(targets.join(' ')));
    const QImage png = pasted(*session, "image/png", "PNG");
    const QImage bmp = pasted(*session, "image/bmp", "BMP");
    const QImage screen = session->screenshot().copy(*frame);
    QCOMPARE(png.size(), printSize);
    QCOMPARE(differingPixels(png, screen), 0);
    QCOMPARE(differingPixels(bmp, screen), 0);
    // The drawing is in it, below the caption and the menu bar.
    const QRect canvas = program->canvasRect();
    QVERIFY(!Ink::pixels(png, QRect(canvas.topLeft() - frame->topLeft() + QPoint(60, 60), QSize(240, 120))).isEmpty());
}

QTEST_GUILESS_MAIN(TestE2eCopy)
#include "tst_e2e_copy.moc"
