#include "widgets/AvisoDigito.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>

void avisaDigitoVerificador(QLineEdit* box, Identificador identificador) {
    QAction* aviso =
        box->addAction(box->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    aviso->setObjectName(QStringLiteral("avisoDigito"));
    const auto revisa = [aviso, identificador](const QString& text) {
        const std::optional<QString> texto = avisoDigito(identificador, text);
        aviso->setVisible(texto.has_value());
        if (texto)
            aviso->setToolTip(*texto);
    };
    QObject::connect(box, &QLineEdit::textChanged, aviso, revisa);
    revisa(box->text());
}
