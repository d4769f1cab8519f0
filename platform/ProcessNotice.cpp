#include "platform/ProcessNotice.h"

#include <QEventLoop>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

namespace {

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

ProgramRun runProgramWithNotice(const QString& program, const QString& workingFolder, int timeoutMs,
                                const QString& notice, QWidget* parent) {
    QProgressDialog progress(notice, QString(), 0, 0, parent);
    progress.setWindowTitle(QStringLiteral("TOLVEK 3"));
    // Not modal: nothing else is on show at start-up, and the user's input is held back by the wait itself.
    progress.setWindowModality(Qt::NonModal);
    progress.setMinimumDuration(0);
    progress.show();
    return runProgram(program, workingFolder, timeoutMs, {}, waitShowingNotice);
}
