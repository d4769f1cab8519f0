#include "platform/Messages.h"

#include <QMessageBox>

namespace {

void prepare(QMessageBox& box, const Message& message) {
    switch (message.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    box.setWindowTitle(message.title);
    box.setText(message.text);
}

class StandardBoxes : public MessageService {
public:
    bool show(QWidget* parent, const Message& message) override {
        QMessageBox box(parent);
        prepare(box, message);
        box.setStandardButtons(message.withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
        box.setDefaultButton(message.cancelDefault ? QMessageBox::Cancel : QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }

    Answer ask(QWidget* parent, const Message& message) override {
        QMessageBox box(parent);
        prepare(box, message);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
};

StandardBoxes standardBoxes;
MessageService* installed = nullptr;

} // namespace

MessageService& MessageService::current() {
    return installed ? *installed : standardBoxes;
}

void MessageService::install(MessageService* service) {
    installed = service;
}

void inform(QWidget* parent, const QString& text, MessageIcon icon, const QString& title) {
    MessageService::current().show(parent, {text, title, icon, false});
}

bool confirm(QWidget* parent, const QString& text, const QString& title) {
    return MessageService::current().show(parent, {text, title, MessageIcon::Exclamation, true});
}

bool confirmDestructive(QWidget* parent, const QString& text, const QString& title) {
    return MessageService::current().show(parent, {text, title, MessageIcon::Exclamation, true, true});
}

Answer ask(QWidget* parent, const QString& text, const QString& title) {
    return MessageService::current().ask(parent, {text, title, MessageIcon::Exclamation, true});
}

void informFalla(QWidget* parent, const QString& texto, const QString& falla) {
    inform(parent, texto.arg(falla), MessageIcon::Exclamation);
}
