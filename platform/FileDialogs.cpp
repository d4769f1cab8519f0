#include "platform/FileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {
QStringList queued;
} // namespace

QString FileDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    if (!queued.isEmpty())
        return queued.takeFirst();
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void FileDialogs::queueAnswer(const QString& path) {
    queued << path;
}

void FileDialogs::clearAnswers() {
    queued.clear();
}

QString homeFolder() {
    return QDir::homePath();
}
