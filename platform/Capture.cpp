#include "platform/Capture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace {

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
    // but both can be pasted.
    static QString clean(const QString& text) {
        QString result = text.toUpper();
        result.removeIf([](QChar c) {
            return c == QLatin1Char('|') || c.category() == QChar::Other_Control ||
                   c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
        });
        return result;
    }
};

} // namespace

void makeCaptureBox(QLineEdit* box) {
    box->setValidator(new CaptureValidator(box));
}

void pairCombos(QComboBox* keys, QComboBox* names) {
    QObject::connect(names, &QComboBox::currentIndexChanged, keys, [keys](int index) {
        if (keys->currentIndex() != index)
            keys->setCurrentIndex(index);
    });
    QObject::connect(keys, &QComboBox::currentIndexChanged, names, [names](int index) {
        if (names->currentIndex() != index)
            names->setCurrentIndex(index);
    });
}
