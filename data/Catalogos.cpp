#include "data/Catalogos.h"

#include "data/Rutinas.h"
#include "platform/Capture.h"
#include "platform/Database.h"
#include "platform/Messages.h"

#include <QComboBox>

void Llena_EntFed(Database& db, QComboBox* keys, QComboBox* names) {
    const int selected = names->currentIndex();
    Query q = db.select(QStringLiteral("select * from EntFed"));
    while (q.next()) {
        keys->addItem(q.text(0));
        names->addItem(q.text(1));
    }
    // Adding items to an empty combo would select the first one; the user is to choose.
    names->setCurrentIndex(selected);
    keys->setCurrentIndex(selected);
}

void Llena_MpioDeleg(Database& db, QComboBox* numbers, QComboBox* names, const QString& entityKey) {
    numbers->clear();
    names->clear();
    const QString key = rtrim(entityKey);
    if (key.isEmpty())
        return;
    Query q = db.select(QStringLiteral("select * from MpioDeleg where cveEntFed=?"), {key});
    while (q.next()) {
        numbers->addItem(numberText(q.number(1)));
        names->addItem(q.text(2));
    }
    // Filling selects nothing: the user picks the municipality.
    numbers->setCurrentIndex(-1);
    names->setCurrentIndex(-1);
}

void Llena_Aduanas(Database& db, QComboBox* numbers, QComboBox* names) {
    const int selected = names->currentIndex();
    Query q = db.select(QStringLiteral("select * from Aduanas order by aduana"));
    while (q.next()) {
        numbers->addItem(numberText(q.number(0)));
        names->addItem(q.text(1));
    }
    // Adding items to an empty combo would select the first one; the user is to choose.
    names->setCurrentIndex(selected);
    numbers->setCurrentIndex(selected);
}

void preparaAduanas(QWidget* dialog, Database& db, QComboBox* numbers, QComboBox* names) {
    try {
        Llena_Aduanas(db, numbers, names);
    } catch (const DatabaseError& e) {
        inform(dialog, QStringLiteral("No se pudo leer el catálogo de Aduanas.\n\n") + e.message(),
               MessageIcon::Exclamation);
    }
    pairCombos(numbers, names);
}

int findItem(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text)
            return i;
    }
    return -1;
}
