#include "widgets/AvisoDigito.h"

#include "data/Rutinas.h"

#include <QAction>
#include <QLineEdit>
#include <QStyle>

void avisaDigitoVerificador(QLineEdit* box, Identificador identificador) {
    const bool curp = identificador == Identificador::CURP;
    QAction* aviso =
        box->addAction(box->style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    aviso->setObjectName(QStringLiteral("avisoDigito"));
    const QString motivo = curp ? QStringLiteral("El dígito verificador no coincide; revise la CURP")
                                : QStringLiteral("El dígito verificador no coincide; revise el RFC");
    aviso->setToolTip(motivo);
    const auto revisa = [box, aviso, curp, motivo](const QString& text) {
        // A text that fails the format check gets the dialog's own message when stored; one warning is enough.
        const bool avisa =
            curp ? Valida_CURP(text) && !coincideDigitoCURP(text) : Valida_RFC(text) && !coincideDigitoRFC(text);
        aviso->setVisible(avisa);
        // Read from the keyboard too: a screen reader tells the box's description, never an icon's tooltip.
        box->setAccessibleDescription(avisa ? motivo : QString());
    };
    QObject::connect(box, &QLineEdit::textChanged, aviso, revisa);
    revisa(box->text());
}
