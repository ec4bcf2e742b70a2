#include "CupsSession.h"

#include "Poll.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest/QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// cups-pdf reads its settings only from here; "cups-pdf:/<tag>" devices read
// cups-pdf-<tag>.conf instead of the shared cups-pdf.conf.
const QString pdfConfigDir = QStringLiteral("/etc/cups");
const QString tagPrefix = QStringLiteral("pittorello-e2e-");
const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

void fail(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

bool writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text.toUtf8()) < 0) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
        return false;
    }
    return true;
}

// Config files of earlier runs that were killed before they could clean up.
void removeStalePdfConfigs()
{
    const QRegularExpression re("^cups-pdf-" + QRegularExpression::escape(tagPrefix) + "(\\d+)-\\d+\\.conf$");
    for (const QString &name : QDir(pdfConfigDir).entryList(QDir::Files)) {
        const auto m = re.match(name);
        if (m.hasMatch() && ::kill(pid_t(m.captured(1).toLongLong()), 0) != 0 && errno == ESRCH)
            QFile::remove(pdfConfigDir + QLatin1Char('/') + name);
    }
}

int jobNumber(const QString &fileName)
{
    const auto m = QRegularExpression("job_(\\d+)").match(fileName);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

CupsSession::CupsSession() = default;

CupsSession::~CupsSession()
{
    stop();
}

bool CupsSession::start()
{
    if (!m_dir.isValid()) {
        fail(QStringLiteral("no temporary directory: %1").arg(m_dir.errorString()));
        return false;
    }
    static int sessions = 0;
    const QString tag = tagPrefix + QStringLiteral("%1-%2").arg(::getpid()).arg(++sessions);
    m_queue = QStringLiteral("PittorelloPDF");
    m_pdfConfig = pdfConfigDir + QStringLiteral("/cups-pdf-") + tag + QStringLiteral(".conf");
    removeStalePdfConfigs();
    if (!writeConfig())
        return false;

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("CUPS_SERVER", m_dir.filePath("cups.sock"));

    m_server = std::make_unique<ChildProcess>(QStringLiteral("cupsd"));
    if (!m_server->start("/usr/sbin/cupsd",
                         {"-f", "-c", m_dir.filePath("etc/cupsd.conf"), "-s",
                          m_dir.filePath("etc/cups-files.conf")},
                         m_env, {m_dir.filePath("log/cupsd.out")}))
        return false;
    const bool up = pollUntil([this] {
        // lpstat -r exits 0 either way; only its words tell.
        return !m_server->isRunning()
            || run("lpstat", {"-r"}).stdOut().trimmed() == QLatin1String("scheduler is running");
    }, 20000) && m_server->isRunning();
    if (!up) {
        fail(QStringLiteral("cupsd did not come up: %1").arg(m_server->exitDescription()));
        return false;
    }

    for (const QStringList &args : {QStringList{"-p", m_queue, "-v", "cups-pdf:/" + tag, "-P", ppd, "-E"},
                                    QStringList{"-d", m_queue}}) {
        const CommandResult r = run("lpadmin", args);
        if (!r.ok()) {
            fail(r.describe("lpadmin", args));
            return false;
        }
    }
    return true;
}

bool CupsSession::writeConfig()
{
    QDir dir(m_dir.path());
    for (const char *sub : {"etc", "spool", "tmp", "cache", "state", "log", "out", "pdfspool"})
        dir.mkdir(QLatin1String(sub));
    // Filters run as lp and must reach the temporary and spool directories.
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), open);
    for (const char *sub : {"etc", "spool", "cache", "state", "log", "out", "pdfspool"})
        QFile::setPermissions(m_dir.filePath(QLatin1String(sub)), open);
    ::chmod(QFile::encodeName(m_dir.filePath("tmp")).constData(), 01777);

    const QString root = m_dir.path();
    return writeFile(m_dir.filePath("etc/cupsd.conf"),
                     QStringLiteral("LogLevel info\n"
                                    "Listen %1/cups.sock\n"
                                    "Browsing No\n"
                                    "WebInterface No\n"
                                    "DefaultAuthType None\n"
                                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                         .arg(root))
        && writeFile(m_dir.filePath("etc/cups-files.conf"),
                     QStringLiteral("ServerRoot %1/etc\n"
                                    "RequestRoot %1/spool\n"
                                    "TempDir %1/tmp\n"
                                    "CacheDir %1/cache\n"
                                    "StateDir %1/state\n"
                                    "Printcap %1/state/printcap\n"
                                    "ErrorLog %1/log/error_log\n"
                                    "AccessLog %1/log/access_log\n"
                                    "PageLog %1/log/page_log\n"
                                    "SystemGroup root\n")
                         .arg(root))
        && writeFile(m_pdfConfig,
                     QStringLiteral("Out %1/out\nSpool %1/pdfspool\nLog %1/log\nLogType 3\n").arg(root));
}

void CupsSession::stop()
{
    if (m_server)
        m_server->stop();
    if (!m_pdfConfig.isEmpty())
        QFile::remove(m_pdfConfig);
}

qint64 CupsSession::serverPid() const
{
    return m_server ? m_server->pid() : 0;
}

CommandResult CupsSession::run(const QString &program, const QStringList &args) const
{
    QProcessEnvironment env = m_env;
    env.insert("LC_ALL", "C"); // the tools' messages are parsed
    return runCommand(program, args, env);
}

bool CupsSession::waitUntilQueueEmpty(int timeoutMs) const
{
    CommandResult r;
    const bool empty = pollUntil([&] {
        r = run("lpstat", {"-o"});
        return r.ok() && r.out.trimmed().isEmpty();
    }, timeoutMs, 100);
    if (!empty)
        fail(QStringLiteral("print queue not empty: %1 %2").arg(r.stdOut(), r.describe("lpstat", {"-o"})));
    return empty;
}

bool CupsSession::waitForPdfs(int count, int timeoutMs) const
{
    const bool arrived = pollUntil([&] {
        return printedPdfs().size() >= count && run("lpstat", {"-o"}).out.trimmed().isEmpty();
    }, timeoutMs, 100);
    if (!arrived)
        fail(QStringLiteral("expected %1 printed PDFs, have %2").arg(count).arg(printedPdfs().size()));
    return arrived;
}

QStringList CupsSession::printedPdfs() const
{
    QStringList names = QDir(m_dir.filePath("out")).entryList({"*.pdf"}, QDir::Files);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return std::make_pair(jobNumber(a), a) < std::make_pair(jobNumber(b), b);
    });
    for (QString &name : names)
        name = m_dir.filePath("out/" + name);
    return names;
}

int CupsSession::pdfPageCount(const QString &path) const
{
    const CommandResult r = run("pdfinfo", {path});
    const auto m = QRegularExpression("^Pages:\\s*(\\d+)", QRegularExpression::MultilineOption)
                       .match(r.stdOut());
    if (!r.ok() || !m.hasMatch()) {
        fail(r.describe("pdfinfo", {path}));
        return -1;
    }
    return m.captured(1).toInt();
}

QImage CupsSession::rasterisePage(const QString &path, int page, int dpi) const
{
    const QStringList args{"-png", "-r", QString::number(dpi), "-f", QString::number(page),
                           "-l", QString::number(page), "-singlefile", path};
    const CommandResult r = run("pdftoppm", args);
    QImage image;
    if (!r.ok() || !image.loadFromData(r.out, "PNG")) {
        fail(r.describe("pdftoppm", args));
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}
