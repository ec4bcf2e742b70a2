#include "FakePlatform.h"
#include "FuzzCheck.h"
#include "app/Application.h"
#include "app/Form1.h"
#include "app/NumberText.h"

#include <QApplication>
#include <QMouseEvent>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

// The window is made once; each input types a radius text into Combo2 and
// presses and releases a mouse button on a small canvas.
namespace {

// Larger than the canvas of a window never shown, so the image takes this size.
constexpr QSize canvasSize(120, 40);

QApplication *app = nullptr;
FakePlatform *fake = nullptr;
Form1 *form = nullptr;

bool overflows(const QString &text)
{
    try {
        NumberText::toSingle(NumberText::leadingValue(text));
        return false;
    } catch (const AppError &) {
        return true;
    }
}

// Mostly about the canvas, now and then anywhere a held button can take the mouse.
double coordinate(FuzzedDataProvider &input)
{
    if (input.ConsumeBool())
        return input.ConsumeFloatingPoint<double>();
    return input.ConsumeIntegralInRange<int>(-100, 100) + input.ConsumeProbability<double>();
}

void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers shift)
{
    QMouseEvent event(type, at, form->ui.canvas->mapToGlobal(QPointF()), button, held, shift);
    QCoreApplication::sendEvent(form->ui.canvas, &event);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    Application::setUp(*app);
    fake = new FakePlatform;
    form = new Form1(fake->platform());
    form->ui.canvas->resize(canvasSize);
    form->ui.canvas->clear();
    FUZZ_CHECK(form->ui.canvas->image().size() == canvasSize, "the canvas did not take the small size");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const Qt::MouseButton button = input.PickValueInArray({Qt::RightButton, Qt::RightButton, Qt::LeftButton, Qt::MiddleButton});
    const auto shift = Qt::KeyboardModifiers::fromInt(input.ConsumeIntegralInRange(0, 7) << 25);
    const QPointF at(coordinate(input), coordinate(input));
    const QString text = QString::fromStdString(input.ConsumeRemainingBytesAsString());

    fake->messageBox.shown.clear();
    form->ui.Combo2->setEditText(text);
    send(QEvent::MouseButtonPress, at, button, button, shift);
    FUZZ_CHECK(form->penDown(), "a press left the pen up");
    send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, shift);

    FUZZ_CHECK(!form->penDown(), "the pen is still down after the release");
    FUZZ_CHECK(form->ui.canvas->image().size() == canvasSize, "the canvas image changed size");
    FUZZ_CHECK(form->ui.Combo2->currentText() == text, "the radius text changed");
    const bool reported = !fake->messageBox.shown.isEmpty();
    FUZZ_CHECK(fake->messageBox.shown.size() <= 1, "one press gave more than one message");
    FUZZ_CHECK(reported == (button == Qt::RightButton && overflows(text)),
               "a message was shown exactly when the radius is beyond single precision: no");
    return 0;
}
