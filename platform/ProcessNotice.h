#pragma once

#include "platform/Process.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// While it lives, a program run with `wait` as its wait tells the user in a small window with a busy bar what is
// being waited for; the rest of the program takes no input until that program has ended. Nothing is shown when no
// program is run.
class ProgramNotice {
public:
    ProgramNotice(QString notice, QWidget* parent);
    ~ProgramNotice();
    ProgramNotice(const ProgramNotice&) = delete;
    ProgramNotice& operator=(const ProgramNotice&) = delete;

    static bool wait(QProcess& process, int ms);

private:
    void show();

    QString notice_;
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> dialog_;
};
