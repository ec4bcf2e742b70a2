// The window's texts under a desktop's dark or high-contrast palette,
// offscreen with fake services: each reads about as well as in the light
// look, or at 4.5.
#include "Fixture.h"
#include "app/CommandButton.h"

#include <QAbstractItemView>
#include <cmath>
#include <functional>
#include <memory>

namespace {

double luminance(QRgb c) // WCAG's
{
    const auto linear = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

// A text as rendered: each pixel its text changes, by WCAG's contrast ratio
// with the same pixel without the text; 1 where no text shows at all.
double contrast(QWidget *shown, const QRect &box, const std::function<void(bool)> &showText)
{
    const QImage with = shown->grab(box).toImage();
    showText(false);
    const QImage without = shown->grab(box).toImage();
    showText(true);
    double ratio = 1;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            const auto [dark, light] = std::minmax({luminance(with.pixel(x, y)), luminance(without.pixel(x, y))});
            ratio = std::max(ratio, (light + 0.05) / (dark + 0.05));
        }
    return ratio;
}

} // namespace

class TestPalette : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

    // Each text of the panel, the comment line and the mode list's entries.
    QMap<QString, double> legibility()
    {
        QMap<QString, double> ratios;
        const auto text = [](QWidget *control) {
            return [control, was = control->property("text")](bool on) { control->setProperty("text", on ? was : QString()); };
        };
        for (CommandButton *button : f->ui.Frame1->findChildren<CommandButton *>())
            ratios[button->objectName()] = contrast(button, button->captionArea(), text(button));
        for (QLabel *label : f->ui.Frame1->findChildren<QLabel *>())
            ratios[label->objectName()] = contrast(label, label->contentsRect(), text(label));
        for (QLineEdit *field : {f->ui.Combo1->lineEdit(), f->ui.Combo2->lineEdit(), f->ui.Combo3->lineEdit(), f->ui.Text1})
            ratios[field == f->ui.Text1 ? "Text1" : field->parent()->objectName()] = contrast(field, field->rect(), text(field));
        f->ui.Combo1->showPopup();
        QAbstractItemView *entries = f->ui.Combo1->view();
        const QModelIndex first = entries->model()->index(0, 0);
        ratios["Combo1's list"] = contrast(entries->viewport(), entries->visualRect(first), [&](bool on) {
            entries->model()->setData(first, on ? QStringLiteral("Punto continuo al Clik") : QString());
        });
        f->ui.Combo1->hidePopup();
        return ratios;
    }

private slots:
    void initTestCase() { Fixture::setUpProgram(); }
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { f.reset(); }

    void legibleUnderEveryPalette_data()
    {
        QTest::addColumn<QPalette>("desktop");
        QTest::addColumn<QString>("actions");
        QPalette dark(QColor(0x37, 0x37, 0x37), QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, QColor(0xee, 0xee, 0xec));
        QPalette contrast(Qt::black, Qt::black);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            contrast.setColor(role, Qt::yellow);
        for (const QString &actions : {QString(), QStringLiteral("Command6")}) {
            QTest::addRow("dark %s", qPrintable(actions)) << dark << actions;
            QTest::addRow("high contrast %s", qPrintable(actions)) << contrast << actions;
        }
    }
    void legibleUnderEveryPalette()
    {
        QFETCH(QPalette, desktop);
        QFETCH(QString, actions);
        f->act(actions);
        const QMap<QString, double> light = legibility();
        const QPalette lightLook = QApplication::palette();
        f.reset();
        QApplication::setPalette(desktop);
        f = std::make_unique<Fixture>();
        f->act(actions);
        const QMap<QString, double> ratios = legibility();
        QApplication::setPalette(lightLook);
        QStringList faint;
        for (auto it = ratios.cbegin(); it != ratios.cend(); ++it)
            if (it.value() < std::min(4.5, light[it.key()]) * 0.95) // a button's shading moves its edge a little
                faint << QStringLiteral("%1 %2 (light look %3)").arg(it.key()).arg(it.value(), 0, 'f', 2).arg(light[it.key()], 0, 'f', 2);
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
