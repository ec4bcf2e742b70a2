// The private print server that print tests will stand on: jobs sent to its
// default queue come out as PDF files whose pages can be counted and looked at.
#include "CupsSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>

namespace {

const int dpi = 50;

// Page p carries a 2-inch black square whose lower-left corner is 1 inch from
// the left and 1 + 3(p-1) inches from the bottom: each page is recognisable.
QByteArray postScript(int pages)
{
    QByteArray ps = "%!PS-Adobe-3.0\n%%Pages: " + QByteArray::number(pages) + "\n%%EndComments\n";
    for (int p = 1; p <= pages; ++p)
        ps += "%%Page: " + QByteArray::number(p) + ' ' + QByteArray::number(p) + "\n72 "
            + QByteArray::number(72 + 216 * (p - 1)) + " 144 144 rectfill\nshowpage\n";
    return ps + "%%EOF\n";
}

// Centre of page p's square in a page rasterised at dpi.
QPoint squareCentre(const QImage &page, int p)
{
    const double scale = dpi / 72.0;
    return QPoint(qRound(144 * scale), page.height() - qRound((144 + 216 * (p - 1)) * scale));
}

bool isDark(QRgb c)
{
    return qGray(c) < 64;
}

} // namespace

class TestE2eCups : public QObject {
    Q_OBJECT

private slots:
    void printsToPdf_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("expectedFiles");

        QTest::newRow("one page") << 1 << 1 << 1 << 1;
        QTest::newRow("two pages") << 2 << 1 << 1 << 1;
        QTest::newRow("two jobs, one file each") << 1 << 2 << 1 << 2;
        // cups-pdf takes the copies itself and writes the document only once:
        // copies never show up as extra pages or files.
        QTest::newRow("two copies, one file") << 1 << 1 << 2 << 1;
    }

    void printsToPdf()
    {
        QFETCH(int, pages);
        QFETCH(int, jobs);
        QFETCH(int, copies);
        QFETCH(int, expectedFiles);

        QTemporaryDir work;
        QFile document(work.filePath("documento.ps"));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write(postScript(pages));
        document.close();

        CupsSession cups;
        QVERIFY(cups.start());
        QVERIFY(cups.printedPdfs().isEmpty());
        for (int j = 0; j < jobs; ++j) {
            const QStringList args{"-n", QString::number(copies), "-t", QStringLiteral("lavoro%1").arg(j),
                                   document.fileName()};
            const CommandResult r = cups.run("lp", args);
            QVERIFY2(r.ok(), qPrintable(r.describe("lp", args)));
        }
        QVERIFY(cups.waitForPdfs(expectedFiles));
        QVERIFY(cups.waitUntilQueueEmpty());

        const QStringList pdfs = cups.printedPdfs();
        QCOMPARE(pdfs.size(), expectedFiles);
        for (const QString &pdf : pdfs) {
            QCOMPARE(cups.pdfPageCount(pdf), pages);
            for (int p = 1; p <= pages; ++p) {
                const QImage page = cups.rasterisePage(pdf, p, dpi);
                QVERIFY(!page.isNull());
                for (int q = 1; q <= pages + 1; ++q) {
                    const QPoint c = squareCentre(page, q);
                    QVERIFY2(isDark(page.pixel(c)) == (q == p),
                             qPrintable(QStringLiteral("page %1, spot of page %2's square").arg(p).arg(q)));
                }
            }
        }
    }

    void stopsServerAndRemovesItsFiles()
    {
        const QStringList before = QDir("/etc/cups").entryList(QDir::Files);
        qint64 pid = 0;
        {
            CupsSession cups;
            QVERIFY(cups.start());
            pid = cups.serverPid();
            QVERIFY(QDir("/etc/cups").entryList(QDir::Files) != before);
        }
        QVERIFY(::kill(pid_t(pid), 0) != 0 && errno == ESRCH);
        QCOMPARE(QDir("/etc/cups").entryList(QDir::Files), before);
    }
};

QTEST_GUILESS_MAIN(TestE2eCups)
#include "tst_e2e_cups.moc"
