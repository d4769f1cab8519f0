#include "platform/Process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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

bool blockingWait(QProcess& process, int ms) {
    return process.waitForFinished(ms);
}

} // namespace

ProgramRun runProgram(const QString& program, const QString& workingFolder, int timeoutMs, const QStringList& arguments,
                      ProcessWait wait) {
    if (!wait)
        wait = blockingWait;
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
