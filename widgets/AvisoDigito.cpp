#include "widgets/AvisoDigito.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>

void avisaDigitoVerificador(QLineEdit* box, Identificador identificador) {
    QAction* aviso =
        box->addAction(box->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    aviso->setObjectName(QStringLiteral("avisoDigito"));
    const auto revisa = [box, aviso, identificador](const QString& text) {
        const std::optional<QString> motivo = avisoDigito(identificador, text);
        aviso->setVisible(motivo.has_value());
        if (motivo)
            aviso->setToolTip(*motivo);
        // Read from the keyboard too: a screen reader tells the box's description, never an icon's tooltip.
        box->setAccessibleDescription(motivo.value_or(QString()));
    };
    QObject::connect(box, &QLineEdit::textChanged, aviso, revisa);
    revisa(box->text());
}
