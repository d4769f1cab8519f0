#include "widgets/Capture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QValidator>

#include <algorithm>

namespace {

bool inWindows1252(QChar c) {
    static const QString beyondLatin1 = QStringLiteral(
        "\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018\u2019\u201C"
        "\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178");
    const char16_t u = c.unicode();
    return u < 0x80 || (u >= 0xA0 && u <= 0xFF) || beyondLatin1.contains(c);
}

// Digits typed into a number combo pick the first item whose number starts with them. The combo's own search goes
// by the whole item text, which begins with the blank of the number text (" 470"), and so finds none.
class NumeroTecleado : public QObject {
public:
    // The open list takes the keys itself, and searches the same way.
    explicit NumeroTecleado(QComboBox* combo) : QObject(combo), combo_(combo) {
        combo->installEventFilter(this);
        combo->view()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((watched != combo_ && watched != combo_->view()) || event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() != 1 || !key->text().at(0).isDigit() || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        // As the combo's own search: a pause longer than the desktop's starts a new number.
        if (!tecleado_.isValid() || tecleado_.elapsed() > QApplication::keyboardInputInterval())
            digitos_.clear();
        tecleado_.start();
        digitos_ += key->text();
        for (int i = 0; i < combo_->count(); ++i) {
            if (!combo_->itemText(i).trimmed().startsWith(digitos_))
                continue;
            if (watched == combo_)
                combo_->setCurrentIndex(i);
            else
                combo_->view()->setCurrentIndex(combo_->model()->index(i, combo_->modelColumn()));
            break;
        }
        return true;
    }

private:
    QComboBox* combo_;
    QString digitos_;
    QElapsedTimer tecleado_;
};

class CaptureValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        pos = int(clean(input.left(pos)).size());
        input = clean(input);
        return Acceptable;
    }

private:
    // "|" separates the fields of the information file and a line break its records; neither can be typed,
    // but both can be pasted. Nor can a character the file's code page cannot hold (emoji, Cyrillic, the
    // right-to-left override): it would only be refused when the file is written, long after it was typed.
    static QString clean(const QString& text) {
        QString result;
        result.reserve(text.size());
        for (QChar c : text) {
            // A capital the information file's code page cannot hold (µ would become the Greek Μ) is not made.
            const QString upper = QString(c).toUpper();
            result += std::all_of(upper.begin(), upper.end(), inWindows1252) ? upper : QString(c);
        }
        result.removeIf([](QChar c) {
            return c == QLatin1Char('|') || !inWindows1252(c) || c.category() == QChar::Other_Control ||
                   c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
        });
        return result;
    }
};

} // namespace

void makeCaptureBox(QLineEdit* box) {
    box->setValidator(new CaptureValidator(box));
}

void makeDisplayBox(QLineEdit* box) {
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
}

void pairCombos(QComboBox* keys, QComboBox* names) {
    new NumeroTecleado(keys);
    QObject::connect(names, &QComboBox::currentIndexChanged, keys, [keys](int index) {
        if (keys->currentIndex() != index)
            keys->setCurrentIndex(index);
    });
    QObject::connect(keys, &QComboBox::currentIndexChanged, names, [names](int index) {
        if (names->currentIndex() != index)
            names->setCurrentIndex(index);
    });
}
