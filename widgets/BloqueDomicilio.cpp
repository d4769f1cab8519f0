#include "widgets/BloqueDomicilio.h"

#include "data/Rutinas.h"
#include "platform/Messages.h"
#include "widgets/Capture.h"
#include "widgets/Catalogos.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

BloqueDomicilio BloqueDomicilio::build(QGroupBox* frame, const Nombres& names, bool capture) {
    auto* grid = new QGridLayout(frame);
    auto box = [&](const QString& name, int maxLength) {
        auto* edit = new QLineEdit(frame);
        edit->setObjectName(name);
        edit->setMaxLength(maxLength);
        if (capture)
            makeCaptureBox(edit);
        else
            makeDisplayBox(edit);
        return edit;
    };
    auto combo = [&](const QString& name) {
        auto* c = new QComboBox(frame);
        c->setObjectName(name);
        c->setEnabled(capture);
        return c;
    };
    auto label = [&](const char* text) { return new QLabel(QString::fromUtf8(text), frame); };

    // Made in the order of inTabOrder(), so that Tab follows the screen wherever the block is laid.
    BloqueDomicilio b;
    b.calle = box(names.calle, 100);
    b.noExt = box(names.noExt, 10);
    b.noInt = box(names.noInt, 10);
    b.cp = box(names.cp, 5);
    b.colonia = box(names.colonia, 100);
    b.cveEntFed = combo(names.cveEntFed);
    b.entFed = combo(names.entFed);
    b.noMDeleg = combo(names.noMDeleg);
    b.mDeleg = combo(names.mDeleg);
    b.telefono = box(names.telefono, 25);
    b.fax = box(names.fax, 25);
    b.cveEntFed->setMinimumContentsLength(3);
    b.noMDeleg->setMinimumContentsLength(4);
    b.entFed->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    b.mDeleg->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    b.entFed->setMinimumContentsLength(18);
    b.mDeleg->setMinimumContentsLength(18);

    grid->addWidget(label("Calle:"), 0, 0);
    grid->addWidget(b.calle, 0, 1, 1, 5);
    grid->addWidget(label("Num. Ext:"), 1, 0);
    grid->addWidget(b.noExt, 1, 1);
    grid->addWidget(label("Num. Int:"), 1, 2);
    grid->addWidget(b.noInt, 1, 3);
    grid->addWidget(label("C.P.:"), 1, 4);
    grid->addWidget(b.cp, 1, 5);
    grid->addWidget(label("Colonia:"), 2, 0);
    grid->addWidget(b.colonia, 2, 1, 1, 5);
    grid->addWidget(label("Entidad Fed:"), 3, 0);
    grid->addWidget(b.cveEntFed, 3, 1);
    grid->addWidget(b.entFed, 3, 2, 1, 4);
    grid->addWidget(label("Mpio. o Deleg:"), 4, 0);
    grid->addWidget(b.noMDeleg, 4, 1);
    grid->addWidget(b.mDeleg, 4, 2, 1, 4);
    grid->addWidget(label("Teléfono:"), 5, 0);
    grid->addWidget(b.telefono, 5, 1, 1, 2);
    grid->addWidget(label("Fax:"), 5, 3);
    grid->addWidget(b.fax, 5, 4, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    return b;
}

QList<QWidget*> BloqueDomicilio::inTabOrder() const {
    return {calle, noExt, noInt, cp, colonia, cveEntFed, entFed, noMDeleg, mDeleg, telefono, fax};
}

void BloqueDomicilio::connectCatalogues(Store& store) const {
    pairCombos(cveEntFed, entFed);
    pairCombos(noMDeleg, mDeleg);
    // Connected after the pairing, so the key combo already shows the chosen entity when the list is refilled.
    QObject::connect(entFed, &QComboBox::currentIndexChanged, noMDeleg,
                     [&store, keys = cveEntFed, numbers = noMDeleg, names = mDeleg](int) {
                         Llena_MpioDeleg(store, numbers, names, keys->currentText());
                     });
}

TextosDomicilio BloqueDomicilio::textos() const {
    return {calle->text(),         noExt->text(),         colonia->text(),  cp->text(),
            entFed->currentText(), mDeleg->currentText(), telefono->text(), fax->text()};
}

Domicilio BloqueDomicilio::domicilio() const {
    Domicilio d;
    d.entFed = cveEntFed->currentText();
    d.mDeleg = chosenNumber(noMDeleg);
    d.calle = calle->text();
    d.noExt = noExt->text();
    d.noInt = noInt->text();
    d.colonia = colonia->text();
    d.cp = cp->text();
    d.telefono = telefono->text();
    d.fax = fax->text();
    return d;
}

void BloqueDomicilio::muestra(const Domicilio& d) const {
    calle->setText(d.calle);
    noExt->setText(d.noExt);
    noInt->setText(d.noInt);
    colonia->setText(d.colonia);
    cp->setText(d.cp);
    telefono->setText(d.telefono);
    fax->setText(d.fax);
    const int entity = findItem(cveEntFed, d.entFed);
    entFed->setCurrentIndex(entity);
    cveEntFed->setCurrentIndex(entity);
    const int municipality = d.mDeleg.isNull() ? -1 : findItem(noMDeleg, numberText(d.mDeleg.toLongLong()));
    noMDeleg->setCurrentIndex(municipality);
    mDeleg->setCurrentIndex(municipality);
}

void BloqueDomicilio::limpia() const {
    for (QLineEdit* box : {calle, noExt, noInt, colonia, cp, telefono, fax})
        box->clear();
    cveEntFed->setCurrentIndex(-1);
    entFed->setCurrentIndex(-1);
}

QWidget* BloqueDomicilio::control(CampoDomicilio campo) const {
    switch (campo) {
    case CampoDomicilio::Calle:
        return calle;
    case CampoDomicilio::NoExt:
        return noExt;
    case CampoDomicilio::Colonia:
        return colonia;
    case CampoDomicilio::CP:
        return cp;
    case CampoDomicilio::Entidad:
        return entFed;
    case CampoDomicilio::Municipio:
        return mDeleg;
    case CampoDomicilio::Telefono:
        return telefono;
    case CampoDomicilio::Fax:
        return fax;
    }
    return calle;
}

bool Valida_Domicilio(QWidget* parent, const BloqueDomicilio& block) {
    const std::optional<FaltaDomicilio> fault = revisaDomicilio(block.textos());
    if (!fault)
        return true;
    inform(parent, fault->mensaje);
    block.control(fault->campo)->setFocus();
    return false;
}
