#include "widgets/Catalogos.h"

#include "data/Rutinas.h"
#include "data/Store.h"
#include "platform/Database.h"
#include "platform/Messages.h"
#include "widgets/Capture.h"

#include <QComboBox>

void Llena_EntFed(Store& store, QComboBox* keys, QComboBox* names) {
    const int selected = names->currentIndex();
    for (const EntidadFederativa& e : store.entidades()) {
        keys->addItem(e.clave);
        names->addItem(e.nombre);
    }
    // Adding items to an empty combo would select the first one; the user is to choose.
    names->setCurrentIndex(selected);
    keys->setCurrentIndex(selected);
}

void Llena_MpioDeleg(Store& store, QComboBox* numbers, QComboBox* names, const QString& entityKey) {
    numbers->clear();
    names->clear();
    for (const Municipio& m : store.municipios(entityKey)) {
        numbers->addItem(numberText(m.numero));
        names->addItem(m.nombre);
    }
    // Filling selects nothing: the user picks the municipality.
    numbers->setCurrentIndex(-1);
    names->setCurrentIndex(-1);
}

void Llena_Aduanas(Store& store, QComboBox* numbers, QComboBox* names) {
    Llena_Aduanas(store.aduanas(), numbers, names);
}

void Llena_Aduanas(const QList<Aduana>& aduanas, QComboBox* numbers, QComboBox* names) {
    const int selected = names->currentIndex();
    for (const Aduana& a : aduanas) {
        numbers->addItem(numberText(a.numero));
        names->addItem(a.nombre);
    }
    // Adding items to an empty combo would select the first one; the user is to choose.
    names->setCurrentIndex(selected);
    numbers->setCurrentIndex(selected);
}

void preparaAduanas(QWidget* dialog, Store& store, QComboBox* numbers, QComboBox* names) {
    intenta(dialog, QStringLiteral("No se pudo leer el catálogo de Aduanas.\n\n%1"),
            [&] { Llena_Aduanas(store, numbers, names); });
    pairCombos(numbers, names);
}

QVariant chosenNumber(const QComboBox* numbers) {
    bool ok = false;
    const qint64 n = numbers->currentText().trimmed().toLongLong(&ok);
    return numbers->currentIndex() >= 0 && ok ? QVariant(n) : QVariant();
}

int findItem(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text)
            return i;
    }
    return -1;
}
