#pragma once

#include "platform/Falla.h"

#include <QString>

#include <utility>

class QWidget;

// Every box the program shows goes through here, so that tests can read and answer them.
enum class MessageIcon { None, Information, Exclamation };
// The answer to a question that offers two ways on and staying.
enum class Answer { Yes, No, Cancel };

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Information;
    bool withCancel = false;
    // Enter answers Cancel: for questions whose OK destroys something.
    bool cancelDefault = false;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the box modally; true when the user pressed OK.
    virtual bool show(QWidget* parent, const Message& message) = 0;
    // Shows the box with "Sí", "No" and "Cancelar" instead of its OK and Cancel. A service made for OK and Cancel
    // alone takes OK for "Sí".
    virtual Answer ask(QWidget* parent, const Message& message) {
        return show(parent, message) ? Answer::Yes : Answer::Cancel;
    }

    static MessageService& current();
    // Replaces the service (tests); nullptr restores the standard boxes.
    static void install(MessageService* service);
};

// The title of boxes that carry none of their own.
inline const QString kProgramTitle = QStringLiteral("TOLVEK 3");
inline const QString kTitleMensaje = QStringLiteral("Mensaje");
// Confirmations of deletion and of leaving carry this title as the program always had it.
inline const QString kTitleMendaje = QStringLiteral("Mendaje");

// A notice with OK only: information icon and "Mensaje" unless told otherwise.
void inform(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Information,
            const QString& title = kTitleMensaje);
// An operation that could not be done, in an exclamation box: `texto` says what, with %1 where the failure's own
// words go.
void informFalla(QWidget* parent, const QString& texto, const QString& falla);
// The one way a window tells a Falla: runs `accion`; when it throws one, tells it (as informFalla) and gives false.
template <typename Accion> bool intenta(QWidget* parent, const QString& texto, Accion&& accion) {
    try {
        accion();
        return true;
    } catch (const Falla& e) {
        informFalla(parent, texto, e.message());
        return false;
    }
}
// The same, telling the Falla's words alone.
template <typename Accion> bool intenta(QWidget* parent, Accion&& accion) {
    return intenta(parent, QStringLiteral("%1"), std::forward<Accion>(accion));
}
// A confirmation with OK and Cancel and the exclamation icon; true for OK.
bool confirm(QWidget* parent, const QString& text, const QString& title = kTitleMendaje);
// The same for a question whose OK deletes or discards: Cancel is the default button, so Enter keeps.
bool confirmDestructive(QWidget* parent, const QString& text, const QString& title = kTitleMendaje);
// A question with "Sí" (the default button), "No" and "Cancelar" and the exclamation icon; Escape answers Cancel.
Answer ask(QWidget* parent, const QString& text, const QString& title = kTitleMendaje);
