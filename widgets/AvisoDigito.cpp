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
    aviso->setToolTip(curp ? QStringLiteral("El dígito verificador no coincide; revise la CURP")
                           : QStringLiteral("El dígito verificador no coincide; revise el RFC"));
    const auto revisa = [aviso, curp](const QString& text) {
        // A text that fails the format check gets the dialog's own message when stored; one warning is enough.
        aviso->setVisible(curp ? Valida_CURP(text) && !coincideDigitoCURP(text)
                               : Valida_RFC(text) && !coincideDigitoRFC(text));
    };
    QObject::connect(box, &QLineEdit::textChanged, aviso, revisa);
    revisa(box->text());
}
