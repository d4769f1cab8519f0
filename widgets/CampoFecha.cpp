#include "widgets/CampoFecha.h"

#include "platform/Messages.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>

CampoFecha::CampoFecha(QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
    // QDateTimeEdit follows the cursor from section to section and, on each move, reads the text by its sections,
    // putting the last date back over a text typed in another shape.
    disconnect(lineEdit(), &QLineEdit::cursorPositionChanged, this, nullptr);
}

bool CampoFecha::fechaValida() const {
    return leeFecha(lineEdit()->text()).isValid();
}

bool CampoFecha::revisa(QWidget* dialog, std::initializer_list<CampoFecha*> campos) {
    for (CampoFecha* campo : campos) {
        if (!campo->fechaValida()) {
            inform(dialog, QStringLiteral("Fecha no valida"));
            campo->setFocus();
            return false;
        }
    }
    return true;
}

QDate CampoFecha::leeFecha(const QString& texto) const {
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4})$|^(\d\d)(\d\d)(\d{4})$)"));
    const QRegularExpressionMatch m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return {};
    const int dia = m.capturedLength(1) > 0 ? 1 : 4;
    const QDate fecha(m.captured(dia + 2).toInt(), m.captured(dia + 1).toInt(), m.captured(dia).toInt());
    return fecha.isValid() && fecha >= minimumDate() && fecha <= maximumDate() ? fecha : QDate();
}

QValidator::State CampoFecha::validate(QString& input, int&) const {
    if (leeFecha(input).isValid())
        return QValidator::Acceptable;
    // Any date on its way in: the check on "&Aceptar" says whether it became one.
    static const QRegularExpression enCurso(QStringLiteral(R"(^[0-9/]{0,10}$)"));
    return enCurso.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void CampoFecha::fixup(QString&) const {
    // A text that is no date is left as typed: guessing a date from it would store one the clerk never typed.
}

QDateTime CampoFecha::dateTimeFromText(const QString& text) const {
    const QDate fecha = leeFecha(text);
    return fecha.isValid() ? QDateTime(fecha, dateTime().time(), dateTime().timeSpec()) : dateTime();
}

void CampoFecha::abreCalendario() {
    // QDateEdit opens its calendar only for a press on its arrow, and has no call of its own for it.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    QMouseEvent press(QEvent::MouseButtonPress, arrow.center(), mapToGlobal(arrow.center()), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&press);
}

template <typename Step> void CampoFecha::conservaTexto(Step step) {
    const QString texto = lineEdit()->text();
    step();
    if (!leeFecha(texto).isValid() && lineEdit()->text() != texto)
        lineEdit()->setText(texto);
}

void CampoFecha::keyPressEvent(QKeyEvent* event) {
    // As every combo opens its list: F4, or Alt+Down (which QDateEdit takes for a step of the date part).
    if (event->key() == Qt::Key_F4 || (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier)) {
        abreCalendario();
        return;
    }
    const bool escribe = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                         !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (escribe || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        // The date on show is one the program put there: the clerk's first key starts a new one, wherever the
        // click left the cursor.
        if (escribe && !lineEdit()->isModified())
            lineEdit()->selectAll();
        // Straight to the text, past QDateTimeEdit's typing section by section (where "/" jumps to the next one).
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    conservaTexto([&] { QDateEdit::keyPressEvent(event); });
}

void CampoFecha::focusInEvent(QFocusEvent* event) {
    conservaTexto([&] { QDateEdit::focusInEvent(event); });
    if (event->reason() != Qt::PopupFocusReason)
        lineEdit()->selectAll();
}

void CampoFecha::focusOutEvent(QFocusEvent* event) {
    conservaTexto([&] { QDateEdit::focusOutEvent(event); });
}

bool CampoFecha::focusNextPrevChild(bool next) {
    // Tab leaves the box, as in every other box of the form, instead of moving to the next part of the date.
    return QWidget::focusNextPrevChild(next);
}
