#pragma once

#include "platform/Process.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// While it lives, a program run with its waiter() tells the user in a small window with a busy bar what is
// being waited for; the rest of the program takes no input until that program has ended. Nothing is shown when no
// program is run.
class ProgramNotice {
public:
    ProgramNotice(QString notice, QWidget* parent);
    ~ProgramNotice();
    ProgramNotice(const ProgramNotice&) = delete;
    ProgramNotice& operator=(const ProgramNotice&) = delete;

    // The wait to hand to runProgram.
    ProcessWait waiter();

private:
    void show();
    bool wait(QProcess& process, int ms);

    QString notice_;
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> dialog_;
};
