#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QProcess;

// How a program started by ours ended.
struct ProgramRun {
    enum class Outcome {
        Finished,   // exited with status 0
        NotStarted, // could not be started at all
        Failed,     // exited with another status or crashed
        TimedOut,   // still running when the time was up; it has been stopped
    };
    Outcome outcome = Outcome::NotStarted;
    // The exit status of a program that ended on its own; -1 when it crashed or was stopped.
    int exitCode = -1;
    // What the program wrote on its error output, or why it could not be started.
    QString errorText;
};

// The name a program file carries on this system ("Vantrix" becomes "Vantrix.exe" on Windows).
QString programFileName(const QString& stem);

// Waits for a started program until it ends or `ms` pass (-1: no limit); true when it ended.
using ProcessWait = std::function<bool(QProcess& process, int ms)>;

// Starts the program in the working folder and waits for it; when timeoutMs passes first, the program is stopped.
// A negative timeoutMs waits as long as it takes. The program's standard output is discarded. Without a wait of
// its own the caller is blocked meanwhile.
ProgramRun runProgram(const QString& program, const QString& workingFolder, int timeoutMs,
                      const QStringList& arguments = {}, ProcessWait wait = {});
