#include "platform/FileManager.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
ShowFolderHook hooked;
}

bool showFolder(const QString& path) {
    if (hooked)
        return hooked(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void interceptShowFolder(ShowFolderHook hook) {
    hooked = std::move(hook);
}
