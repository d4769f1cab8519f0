#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

ScriptedMessages::ScriptedMessages() {
    MessageService::install(this);
}

ScriptedMessages::~ScriptedMessages() {
    MessageService::install(nullptr);
}

bool ScriptedMessages::show(QWidget*, const Message& message) {
    shown << message;
    return answers_.isEmpty() || answers_.takeFirst() == Answer::Yes;
}

Answer ScriptedMessages::ask(QWidget*, const Message& message) {
    shown << message;
    return answers_.isEmpty() ? Answer::Yes : answers_.takeFirst();
}

QStringList ScriptedMessages::texts() const {
    QStringList result;
    for (const Message& m : shown)
        result << m.text;
    return result;
}

ModalDriver::ModalDriver(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(10);
}

void ModalDriver::then(std::function<void(QDialog*)> step) {
    // A step is for a dialog still to come: one the test already shows itself is not to be answered or rejected.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(w) && w->isVisible())
            w->setProperty("tolvekHandled", true);
    }
    steps_ << std::move(step);
}

void ModalDriver::poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    if (dialog->property("tolvekHandled").toBool()) {
        // Its step left it open on top: a failed check, or a dialog that refused what the step gave it. Counted only
        // while it is on top, so that a dialog waiting for a nested one is not cut short; rejected after some ten
        // seconds so that the test ends instead of hanging.
        const int ticks = dialog->property("tolvekTicks").toInt() + 1;
        dialog->setProperty("tolvekTicks", ticks);
        if (ticks > 1000)
            dialog->reject();
        return;
    }
    dialog->setProperty("tolvekHandled", true);
    if (steps_.isEmpty()) {
        unexpected << dialog->objectName();
        dialog->reject();
        return;
    }
    // Run from its own zero timer, not from inside this poll: a step that opens a nested dialog blocks in it, and
    // the poll must keep firing meanwhile to answer that one too.
    QTimer::singleShot(0, dialog, [step = steps_.takeFirst(), dialog] { step(dialog); });
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int fileMode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

SmallDisk::SmallDisk(const QString& where, int pages, int files) : folder(QFile::encodeName(where)) {
    const QByteArray options =
        "size=" + QByteArray::number(pages * ::sysconf(_SC_PAGESIZE)) + ",nr_inodes=" + QByteArray::number(files);
    if (pages > 0 && ::mount("tmpfs", folder.constData(), "tmpfs", 0, options.constData()) != 0)
        skipped = QStringLiteral("no tmpfs could be mounted on %1 (%2): that needs root and the right to mount")
                      .arg(where, qt_error_string(errno));
}

SmallDisk::~SmallDisk() {
    // With no pages nothing was mounted, and a folder that is no mount's root is left as it is.
    if (skipped.isEmpty())
        ::umount2(folder.constData(), MNT_DETACH);
}

void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QString fallaDe(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const Falla& e) {
        return e.message();
    }
    return {};
}
