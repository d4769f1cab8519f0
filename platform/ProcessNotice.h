#pragma once

#include "platform/Process.h"

class QWidget;

// runProgram, telling the user meanwhile in a small window with a busy bar what is being waited for; the rest of
// the program takes no input until the program has ended.
ProgramRun runProgramWithNotice(const QString& program, const QString& workingFolder, int timeoutMs,
                                const QString& notice, QWidget* parent);
