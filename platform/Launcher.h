#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts a program that goes on running on its own after this one has ended; true when it started.
bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder);

// Tests: the next starts go to `hook` instead of the system (an empty function restores the real start).
using LaunchHook = std::function<bool(const QString& program, const QStringList& arguments, const QString& folder)>;
void interceptLaunches(LaunchHook hook);
