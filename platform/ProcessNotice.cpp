#include "platform/ProcessNotice.h"

#include <QEventLoop>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

ProgramNotice::ProgramNotice(QString notice, QWidget* parent) : notice_(std::move(notice)), parent_(parent) {}

ProgramNotice::~ProgramNotice() = default;

ProcessWait ProgramNotice::waiter() {
    return [this](QProcess& process, int ms) { return wait(process, ms); };
}

void ProgramNotice::show() {
    if (dialog_)
        return;
    dialog_ = std::make_unique<QProgressDialog>(notice_, QString(), 0, 0, parent_);
    dialog_->setWindowTitle(QStringLiteral("TOLVEK 3"));
    // Not modal: nothing else is on show at start-up, and the user's input is held back by the wait itself.
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumDuration(0);
    dialog_->show();
}

bool ProgramNotice::wait(QProcess& process, int ms) {
    show();
    // Keeps the notice painted while waiting.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (ms >= 0)
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.state() == QProcess::NotRunning;
}
