// The window's texts under the desktops' palettes, offscreen with fake services.
#include "Fixture.h"
#include "app/CommandButton.h"

#include <QAbstractItemView>
#include <cmath>
#include <functional>
#include <memory>

class TestPalette : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

    // Each text of the panel and the comment line against what lies behind it,
    // as rendered: each pixel its text changes, by WCAG's contrast ratio with
    // the same pixel without the text. Under a desktop's dark or high-contrast
    // palette each reads about as well as in the light look, or at 4.5.
    QMap<QString, double> legibility()
    {
        const auto luminance = [](QRgb c) {
            double sum = 0;
            for (const auto &[channel, weight] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
                const double v = channel / 255.0;
                sum += weight * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
            }
            return sum;
        };
        QMap<QString, double> ratios;
        const auto measure = [&](const QString &name, QWidget *shown, const QRect &box, const std::function<void(bool)> &text) {
            const QImage with = shown->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
            text(false);
            const QImage without = shown->grab(box).toImage().convertToFormat(QImage::Format_RGB32);
            text(true);
            double ratio = 1; // no text at all reads as none
            for (int y = 0; y < with.height(); ++y)
                for (int x = 0; x < with.width(); ++x) {
                    const auto [dark, light] = std::minmax({luminance(with.pixel(x, y)), luminance(without.pixel(x, y))});
                    ratio = std::max(ratio, (light + 0.05) / (dark + 0.05));
                }
            ratios[name] = ratio;
        };
        const auto caption = [](QWidget *control) {
            return [control, text = control->property("text")](bool shown) { control->setProperty("text", shown ? text : QString()); };
        };
        for (CommandButton *button : f->ui.Frame1->findChildren<CommandButton *>())
            measure(button->objectName(), button, button->captionArea(), caption(button));
        for (QLabel *label : f->ui.Frame1->findChildren<QLabel *>())
            measure(label->objectName(), label, label->contentsRect(), caption(label));
        for (QComboBox *list : {f->ui.Combo1, f->ui.Combo2, f->ui.Combo3})
            measure(list->objectName(), list->lineEdit(), list->lineEdit()->rect(), caption(list->lineEdit()));
        measure(QStringLiteral("Text1"), f->ui.Text1, f->ui.Text1->rect(), caption(f->ui.Text1));
        f->ui.Combo1->showPopup();
        QAbstractItemView *entries = f->ui.Combo1->view();
        const QModelIndex first = entries->model()->index(0, 0);
        measure(QStringLiteral("Combo1's list"), entries->viewport(), entries->visualRect(first), [&](bool shown) {
            entries->model()->setData(first, shown ? QStringLiteral("Punto continuo al Clik") : QString());
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
