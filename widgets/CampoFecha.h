#pragma once

#include <QDate>
#include <QDateEdit>

#include <initializer_list>

// A date box that takes a date as a clerk types it: "dd/mm/yyyy" (one-digit day or month too) or the eight digits
// "ddmmyyyy", wherever a click or Tab left the cursor; the calendar opens on the arrow, F4 or Alt+Down. QDateEdit's own
// typing goes section by section and puts back the last date when the text is none, so a typed date could end up stored
// as another one. Here what was typed stays on show until it is a real date, for the dialog to refuse it.
class CampoFecha : public QDateEdit {
    Q_OBJECT

public:
    explicit CampoFecha(QWidget* parent = nullptr);

    // The text on show is a date within the box's range (1900 to 2099 unless narrowed); date() is then that date.
    bool fechaValida() const;

    // On the first box whose text is no valid date: "Fecha no valida", the focus on that box, and false.
    static bool revisa(QWidget* dialog, std::initializer_list<CampoFecha*> campos);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The date the text means within the range; a null date otherwise.
    QDate leeFecha(const QString& texto) const;
    void abreCalendario();
    // Runs a step of the base class that would put the last date back over a text that is no date, and keeps the text.
    template <typename Step> void conservaTexto(Step step);
};
