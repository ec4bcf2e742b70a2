// The window offscreen with fake services: how it looks, its menus, sizes,
// printing and copy.
#include "Fixture.h"

#include <QFileInfo>
#include <memory>

class TestForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private slots:
    void initTestCase() { Fixture::setUpProgram(); }
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(QTest::qWaitForWindowActive(&f->form));
    }
    void cleanup() { f.reset(); }

    // The whole window after each action that changes what it shows, against
    // reference/qt<major.minor>/<row>.png, and the dialogs asked for on the way.
    // PITTORELLO_RENEW_REFERENCES=1 writes the references anew.
    void appearance_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("start") << "" << QStringList();
        QTest::newRow("frame-pattern-colour") << "Command8 Command6 4" << QStringList{"colour"};
        QTest::newRow("frame-off-then-pattern") << "Command8 Command7 4" << QStringList{"colour"}; // Shape1 alone
        QTest::newRow("frame-on-then-transparent") << "Command6 1" << QStringList(); // Shape1 hidden
        QTest::newRow("pattern-then-frame-off") << "2 Command7" << QStringList(); // both hidden
        QTest::newRow("dot-and-ring") << "pen" << QStringList();
        QTest::newRow("print-size") << "pen an" << QStringList();
        QTest::newRow("background") << "pen cds" << QStringList{"colour"};
        QTest::newRow("dark-desktop") << "dark" << QStringList(); // the separators follow its text colour
    }
    void appearance()
    {
        QFETCH(QString, actions);
        f->dialog.colour = 0x00CC6633;
        f->act(actions);
        QTEST(f->dialog.asked, "asked");
        const QImage shown = f->form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown.devicePixelRatio() != 1)
            QSKIP("the references are at a device pixel ratio of 1");
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QString path = QStringLiteral(PITTORELLO_REFERENCES "/%1.png").arg(name);
        QVERIFY(!qEnvironmentVariableIntValue("PITTORELLO_RENEW_REFERENCES") || shown.save(path, "PNG", 0));
        const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(shown.size() == reference.size(), qPrintable(path + QStringLiteral(": missing or of another size")));
        // Antialiasing may change an edge's shade a little; a colour, line or border changed, many pixels.
        QImage diff = reference.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        QRect where;
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                if (std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))}) > 3) {
                    diff.setPixel(x, y, qRgb(255, 0, 0));
                    where |= QRect(x, y, 1, 1);
                    ++count;
                }
            }
        const QString diffPath = QFileInfo(name + QStringLiteral("-diff.png")).absoluteFilePath(); // in the build folder
        if (count > 8)
            diff.save(diffPath);
        QVERIFY2(count <= 8, qPrintable(QStringLiteral("%1 pixels differ within %2,%3 %4x%5, in red in %6").arg(count)
                                            .arg(where.x()).arg(where.y()).arg(where.width()).arg(where.height()).arg(diffPath)));
    }

    // Each sequence of menu commands: the size and the menu items it leaves; the
    // focus it leaves, back where it was at the normal size; the comment line's
    // selection kept through a print or a copy.
    void sizes_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<bool>("printSize");
        QTest::addColumn<bool>("copyEnabled");
        QTest::addColumn<bool>("ridEnabled");
        QTest::addColumn<QString>("focused"); // before, then after
        QTest::addColumn<QString>("focus");
        QTest::newRow("start") << "" << false << false << false << "VScroll1" << "VScroll1";
        QTest::newRow("preview") << "an" << true << true << false << "VScroll1" << "canvas";
        QTest::newRow("print") << "s" << true << false << true << "Text1" << "Text1";
        QTest::newRow("preview, print, rid") << "an s rid" << false << true << false << "Command3" << "Command3";
        QTest::newRow("print, normal") << "s no" << false << false << true << "Combo1" << "Combo1";
        QTest::newRow("preview, normal") << "an no" << false << false << false << "VScroll1" << "VScroll1";
        QTest::newRow("preview, copy, normal") << "an mnuCopia no" << false << false << false << "Text1" << "Text1";
    }
    void sizes()
    {
        QFETCH(QString, items);
        QFETCH(bool, printSize);
        f->ui.canvas->plotPoint(700 * 15, 101 * 15);
        f->act(items);
        QTEST(f->ui.mnuCopia->isEnabled(), "copyEnabled");
        QTEST(f->ui.rid->isEnabled(), "ridEnabled");
        // The set twips read back exactly; the client area is the design's, whatever the frame.
        QCOMPARE(f->form.outerSize().width(), printSize ? 8600.f : 11970.f);
        QCOMPARE(f->form.outerSize().height(), printSize ? 8255.f : 8250.f);
        QCOMPARE(f->ui.canvas->size(), QSize(printSize ? 567 : 792, 506));
        QCOMPARE(f->ui.Frame1->isVisible(), !printSize);
        QCOMPARE(f->pixel(700, 101), qRgb(0, 0, 0)); // narrowing loses nothing
    }
    void focus_data() { sizes_data(); }
    void focus()
    {
        QFETCH(QString, items);
        QFETCH(QString, focused);
        f->form.findChild<QWidget *>(focused)->setFocus();
        f->ui.Text1->setSelection(0, 5);
        f->act(items);
        QTEST(QApplication::focusWidget()->objectName(), "focus");
        QCOMPARE(f->ui.Text1->selectedText(), QStringLiteral("Comme"));
    }

    // Copies of the client area at the print size, all in one job, which ends
    // whatever fails on the way, so that the next print works.
    void printing_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<QString>("fault"); // "page N", "memory at page N", "job"
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("told");
        QTest::newRow("no copies") << 0 << "" << 0 << "";
        QTest::newRow("3 copies") << 3 << "" << 3 << "";
        QTest::newRow("first page refused") << 3 << "page 1" << 0 << "printer refused\nCopie stampate: 0 di 3.";
        QTest::newRow("third page refused") << 3 << "page 3" << 2 << "printer refused\nCopie stampate: 2 di 3.";
        QTest::newRow("no memory for the second") << 3 << "memory at page 2" << 1
                                                  << "Memoria insufficiente: l'operazione non è stata completata.";
        QTest::newRow("job refused") << 3 << "job" << 3 << "job refused";
    }
    void printing()
    {
        QFETCH(int, copies);
        QFETCH(QString, fault);
        QFETCH(int, pages);
        QFETCH(QString, told);
        f->dialog.copies = copies;
        f->printer.failAtPage = fault.section(u' ', -1).toInt();
        f->printer.outOfMemory = fault.startsWith(u"memory");
        f->printer.refuseJob = fault == u"job";
        f->ui.s->trigger();
        QCOMPARE(f->dialog.asked, QStringList{"printer"});
        QCOMPARE(f->printer.pages.size(), pages);
        QCOMPARE(f->printer.jobs, int(copies > 0));
        QCOMPARE(f->messageBox.shown, told.isEmpty() ? QStringList() : QStringList{told});
        QCOMPARE(f->ui.rid->isEnabled(), told.isEmpty());
        if (pages)
            QCOMPARE(f->printer.pages.first().size(), QSize(567, 506));
        f->printer.failAtPage = 0, f->printer.outOfMemory = f->printer.refuseJob = false;
        f->printer.pages.clear();
        f->dialog.copies = 1;
        f->ui.s->trigger(); // would find the printer still busy with a job never ended
        QCOMPARE(f->printer.pages.size(), 1);
    }

    void copy_data()
    {
        QTest::addColumn<bool>("fails");
        QTest::newRow("grabbed") << false;
        QTest::newRow("capture fails") << true;
    }
    void copy()
    {
        QFETCH(bool, fails);
        f->screen.fails = fails;
        const QImage before = f->clipboard.image;
        f->ui.an->trigger();
        f->ui.mnuCopia->trigger();
        const Picture &picture = f->ui.Picture1->picture();
        QCOMPARE(f->messageBox.shown.size(), fails ? 1 : 0);
        QCOMPARE(f->clipboard.image, fails ? before : picture.bitmap()); // a failed capture leaves it as it was
        QCOMPARE(picture.bitmap(), fails ? QImage() : f->form.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void noCaretInPrintsOrCopies()
    {
        const auto take = [&] {
            f->ui.s->trigger();
            f->ui.an->trigger();
            f->ui.mnuCopia->trigger();
            return QList<QImage>{f->printer.pages.last(), f->ui.Picture1->picture().bitmap()};
        };
        const QList<QImage> plain = take();
        f->ui.Text1->setFocus();
        QCOMPARE(take(), plain);
        QVERIFY(f->ui.Text1->hasFocus());
    }
};

QTEST_MAIN(TestForm)
#include "tst_form.moc"
