#pragma once

#include "ChildProcess.h"
#include "Command.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private cupsd (its own config, spool and socket, nothing under /etc/cups
// changed) whose default queue is a CUPS-PDF printer writing into a temporary
// directory. Children given environment() print there through CUPS_SERVER.
class CupsSession {
public:
    CupsSession();
    ~CupsSession();
    CupsSession(const CupsSession &) = delete;
    CupsSession &operator=(const CupsSession &) = delete;

    bool start();
    void stop();

    QString queue() const { return m_queue; }
    QProcessEnvironment environment() const { return m_env; }
    qint64 serverPid() const;
    CommandResult run(const QString &program, const QStringList &args) const;

    // Records a failure when jobs are still pending after timeoutMs.
    bool waitUntilQueueEmpty(int timeoutMs = 60000) const;
    // Waits for count finished PDFs (and an empty queue).
    bool waitForPdfs(int count, int timeoutMs = 60000) const;
    // Finished and unfinished output files, oldest job first.
    QStringList printedPdfs() const;
    int pdfPageCount(const QString &path) const;        // -1 on error
    QImage rasterisePage(const QString &path, int page, int dpi = 50) const;

private:
    bool writeConfig();

    QTemporaryDir m_dir;
    QString m_queue;
    QString m_pdfConfig;
    QProcessEnvironment m_env;
    std::unique_ptr<ChildProcess> m_server;
};
