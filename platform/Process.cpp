#include "platform/Process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>

namespace {

// The error output is shown to the user; a tool that floods it must not flood the message box.
constexpr qsizetype kMaxErrorText = 2000;

QString errorOutput(QProcess& process) {
    QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (text.size() > kMaxErrorText)
        text = text.left(kMaxErrorText) + QStringLiteral("…");
    return text;
}

} // namespace

QString programFileName(const QString& stem) {
#ifdef Q_OS_WIN
    return stem + QStringLiteral(".exe");
#else
    return stem;
#endif
}

namespace {

// Waits for a started program until it ends or `ms` pass (-1: no limit); true when it ended.
using Wait = bool (*)(QProcess& process, int ms);

ProgramRun run(const QString& program, const QString& workingFolder, int timeoutMs, const QStringList& arguments,
               Wait wait) {
    ProgramRun run;
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        run.outcome = ProgramRun::Outcome::NotStarted;
        run.errorText = process.errorString();
        process.kill();
        process.waitForFinished(-1);
        return run;
    }
    // The time allowed counts from the start request, whatever the start itself took.
    const int left = timeoutMs < 0 ? -1 : int(std::max<qint64>(1, timeoutMs - clock.elapsed()));
    if (!wait(process, left)) {
        process.kill();
        // Reaped before we go on, so that nothing of it is left writing into the folder.
        process.waitForFinished(-1);
        run.outcome = ProgramRun::Outcome::TimedOut;
        run.errorText = errorOutput(process);
        return run;
    }
    run.errorText = errorOutput(process);
    if (process.exitStatus() == QProcess::CrashExit) {
        run.outcome = ProgramRun::Outcome::Failed;
        return run;
    }
    run.exitCode = process.exitCode();
    run.outcome = run.exitCode == 0 ? ProgramRun::Outcome::Finished : ProgramRun::Outcome::Failed;
    return run;
}

bool blockingWait(QProcess& process, int ms) {
    return process.waitForFinished(ms);
}

// Keeps the notice painted while waiting; the user's input is held back until the program has ended.
bool waitShowingNotice(QProcess& process, int ms) {
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (ms >= 0)
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.state() == QProcess::NotRunning;
}

} // namespace

ProgramRun runProgram(const QString& program, const QString& workingFolder, int timeoutMs,
                      const QStringList& arguments) {
    return run(program, workingFolder, timeoutMs, arguments, blockingWait);
}

ProgramRun runProgramWithNotice(const QString& program, const QString& workingFolder, int timeoutMs,
                                const QString& notice, QWidget* parent) {
    QProgressDialog progress(notice, QString(), 0, 0, parent);
    progress.setWindowTitle(QStringLiteral("TOLVEK 3"));
    // Not modal: nothing else is on show at start-up, and the user's input is held back by the wait itself.
    progress.setWindowModality(Qt::NonModal);
    progress.setMinimumDuration(0);
    progress.show();
    return run(program, workingFolder, timeoutMs, {}, waitShowingNotice);
}
