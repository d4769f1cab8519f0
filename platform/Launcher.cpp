#include "platform/Launcher.h"

#include <QProcess>

namespace {
LaunchHook hooked;
}

bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    if (hooked)
        return hooked(program, arguments, workingFolder);
    return QProcess::startDetached(program, arguments, workingFolder);
}

void interceptLaunches(LaunchHook hook) {
    hooked = std::move(hook);
}
