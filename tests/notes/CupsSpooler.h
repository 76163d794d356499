#pragma once

#include "doubles/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <string>

#include <csignal>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

// What the tool writes on its standard output, as it writes it; what it writes on its standard
// error is dropped.
inline QString ToolOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A print spooler of a test program's own: cupsd on a socket and in folders of a temporary
// directory, which this process (and what it starts) reaches through CUPS_SERVER. Its one
// queue, made on request, prints through cups-pdf into a folder of the directory. cups-pdf reads
// its settings from /etc/cups only, so cupsd runs in a mount namespace of its own in which
// /etc/cups is a folder of the temporary directory: nothing outside that directory is touched,
// and everything goes with it.
class CupsSpooler {
public:
    static constexpr const char* Queue = "StacklePdf";

    // Why the spooler cannot run here, or nothing.
    static std::optional<std::string> Unavailable()
    {
        if (geteuid() != 0)
            return "printing for real needs root: cupsd runs its filters as the user lp and the "
                   "PDF backend as root, and its settings folder is mounted in a namespace of its own";
        return std::nullopt;
    }

    // Starts cupsd; error() says what went wrong when it does not answer.
    CupsSpooler()
    {
        for (const char* tool : {"cupsd", "lpadmin", "lpstat", "cupsreject", "unshare", "pdftotext", "pdfinfo"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/sbin", "/usr/bin", "/sbin", "/bin"})
                    .isEmpty()) {
                error_ = std::string(tool) + " is not installed (scripts/install-deps.sh installs it)";
                return;
            }
        }
        const QString root = dir_.path();
        for (const char* folder : {"conf", "etc", "spool", "cache", "state", "temp", "log", "pdf"})
            QDir(root).mkdir(QString::fromLatin1(folder));
        // The filters run as lp: they pass through the directory and write temporary files.
        QFile::setPermissions(root,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        chmod(QFile::encodeName(root + "/temp").constData(), 01777);
        Write("conf/cups-files.conf",
              QStringLiteral("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                             "StateDir %1/state\nTempDir %1/temp\nAccessLog %1/log/access_log\n"
                             "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                             "Printcap %1/printcap\nServerBin /usr/lib/cups\n"
                             "DataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root\n"
                             "FileDevice No\n")
                  .arg(root));
        Write("conf/cupsd.conf",
              QStringLiteral("Listen %1/cups.sock\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                             "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                             "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                             "    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(root));
        Write("etc/cups-pdf.conf",
              QStringLiteral("Out %1/pdf\nAnonDirName %1/pdf\nSpool %1/spool\nLog %1/log\n"
                             "Grp root\n")
                  .arg(root));
        qputenv("CUPS_SERVER", QFile::encodeName(root + "/cups.sock"));
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");

        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
        // cupsd goes with the test program also when that dies without cleaning up: unshare
        // becomes cupsd itself, which keeps the signal asked for here.
        cupsd_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        cupsd_.start(QStringLiteral("unshare"),
                     {"--mount", "--propagation", "private", "sh", "-c",
                      "mount --bind \"$1/etc\" /etc/cups && exec cupsd -f -c \"$1/conf/cupsd.conf\" -s "
                      "\"$1/conf/cups-files.conf\"",
                      "sh", root});
        if (!cupsd_.waitForStarted()) {
            error_ = "cupsd cannot be started: " + cupsd_.errorString().toStdString();
            return;
        }
        if (!doubles::WaitFor(
                [] { return ToolOutput(QStringLiteral("lpstat"), {"-r"}).trimmed() == "scheduler is running"; },
                std::chrono::milliseconds(15000), LookPause))
            error_ = "cupsd does not answer: " + ErrorLog();
    }

    ~CupsSpooler()
    {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(10000))
                cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }

    const std::string& error() const { return error_; }

    // Makes the PDF queue and the spooler's default printer.
    bool AddDefaultPdfPrinter()
    {
        return Run("lpadmin",
                   {"-p", Queue, "-E", "-v", "cups-pdf:/", "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "-o",
                    "pdftops-renderer-default=pdftocairo"})
            == 0
            && Run("lpadmin", {"-d", Queue}) == 0;
    }
    bool RemovePrinter() { return Run("lpadmin", {"-x", Queue}) == 0; }
    bool RejectJobs() { return Run("cupsreject", {Queue}) == 0; }

    // The PDFs printed, once the spooler has finished every job and count of them are there.
    QStringList Pdfs(int count, int timeoutMs = 60000) const
    {
        QStringList pdfs;
        doubles::WaitFor(
            [&] {
                pdfs = QDir(dir_.path() + "/pdf").entryList({"*.pdf"}, QDir::Files, QDir::Name);
                return pdfs.size() >= count && Jobs().isEmpty();
            },
            std::chrono::milliseconds(timeoutMs), LookPause);
        for (QString& pdf : pdfs)
            pdf = dir_.path() + "/pdf/" + pdf;
        return pdfs;
    }

    // What went wrong in the spooler, for a failure message.
    std::string ErrorLog() const
    {
        QFile log(dir_.path() + "/log/error_log");
        log.open(QIODevice::ReadOnly);
        return log.readAll().toStdString();
    }

private:
    static int Run(const char* tool, const QStringList& arguments)
    {
        QProcess process;
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(QString::fromLatin1(tool), arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }
    // The jobs not yet done.
    static QString Jobs() { return ToolOutput(QStringLiteral("lpstat"), {"-o"}).trimmed(); }
    // How long a wait for the spooler pauses between two looks: each look runs a tool.
    static constexpr std::chrono::milliseconds LookPause{100};
    void Write(const char* name, const QString& content) const
    {
        QFile file(dir_.path() + "/" + QString::fromLatin1(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(content.toUtf8());
    }

    QTemporaryDir dir_;
    QProcess cupsd_;
    std::string error_;
};
