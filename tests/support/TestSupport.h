#pragma once

#include "platform/Messages.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Reads every message box the program shows and answers it from a queue (OK when the queue is empty).
class ScriptedMessages : public MessageService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    bool show(QWidget* parent, const Message& message) override;
    Answer ask(QWidget* parent, const Message& message) override;

    void answerNext(Answer answer) { answers_ << answer; }
    void answerNext(bool ok) { answerNext(ok ? Answer::Yes : Answer::Cancel); }
    QList<Message> shown;
    QStringList texts() const;

private:
    QList<Answer> answers_;
};

// Answers the modal dialogs that appear while the test runs a blocking call: each step gets the next modal dialog
// that appears after it was queued. A dialog with no step left, or one that its step left open on top for too long,
// is rejected so that a test cannot hang.
class ModalDriver : public QObject {
    Q_OBJECT

public:
    explicit ModalDriver(QObject* parent = nullptr);
    void then(std::function<void(QDialog*)> step);
    int pending() const { return int(steps_.size()); }
    // Dialogs that arrived with no step waiting for them, by objectName.
    QStringList unexpected;

private:
    void poll();

    QList<std::function<void(QDialog*)>> steps_;
    QTimer timer_;
};

// A child control by objectName, of the expected type, or nullptr.
template <typename T> T* child(QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

// Types the text into the widget key by key, as a user would (any letter, accented ones included).
void typeText(QWidget* widget, const QString& text);

// Whole-file helpers for fixtures.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
// The message of the Falla the action throws; empty when it throws none.
QString fallaDe(const std::function<void()>& accion);
// The permission bits of a file or folder (0600), -1 when there is none.
int fileMode(const QString& path);

// A real small file system (tmpfs) of `pages` memory pages (0: none is mounted) and at most `files` entries, its root
// one (0: no bound), mounted on the folder until it goes; `skipped` says why none could be (that needs root and the
// right to mount).
struct SmallDisk {
    SmallDisk(const QString& folder, int pages, int files = 0);
    ~SmallDisk();
    const QByteArray folder;
    QString skipped;
};
// A SmallDisk named `d` for the test, which is skipped, saying why, when none could be mounted.
// clang-format off
#define SMALL_DISK_OR_SKIP(d, ...) const SmallDisk d(__VA_ARGS__); if (!d.skipped.isEmpty()) QSKIP(qPrintable(d.skipped))
// clang-format on
