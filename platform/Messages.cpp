#include "platform/Messages.h"

#include <QMessageBox>

namespace {

class StandardBoxes : public MessageService {
public:
    bool show(QWidget* parent, const Message& message) override {
        QMessageBox box(parent);
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
        box.setStandardButtons(message.withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
        box.setDefaultButton(message.cancelDefault ? QMessageBox::Cancel : QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
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

void informFalla(QWidget* parent, const QString& texto, const QString& falla) {
    inform(parent, texto.arg(falla), MessageIcon::Exclamation);
}
