#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The file pickers of the program; tests queue the answers instead of a user.
class FileDialogs {
public:
    // Returns the chosen file's full path, or an empty text when the user cancelled.
    static QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);

    // The next pickers answer these paths in turn (an empty path is a cancel) without showing anything.
    static void queueAnswer(const QString& path);
    static void clearAnswers();
};

// The folder where pickers start: the user's home folder.
QString homeFolder();
