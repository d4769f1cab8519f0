#pragma once

#include "data/Entidades.h"

#include <QString>
#include <QVariant>

class Store;
class QComboBox;
class QWidget;

// Adds every federal entity: its key to the key combo and its name to the name combo. Existing items stay.
void Llena_EntFed(Store& store, QComboBox* keys, QComboBox* names);
// Replaces both combos' items with the municipalities of the entity; an empty key leaves them empty.
void Llena_MpioDeleg(Store& store, QComboBox* numbers, QComboBox* names, const QString& entityKey);
// Fills a pair with every customs office in name order: number text (" 47") and name.
void Llena_Aduanas(Store& store, QComboBox* numbers, QComboBox* names);
// The same from offices already read, so that a chosen position gives back its office.
void Llena_Aduanas(const QList<Aduana>& aduanas, QComboBox* numbers, QComboBox* names);
// A dialog's office pair: filled in name order and kept in step; a refusal of the engine is told to the user and
// leaves the pair empty, so that no office can be chosen.
void preparaAduanas(QWidget* dialog, Store& store, QComboBox* numbers, QComboBox* names);
// The number a combo's chosen item shows (" 470" is 470); Null when nothing, or no number, is chosen.
QVariant chosenNumber(const QComboBox* numbers);
// The position of an item in a combo, or -1.
int findItem(const QComboBox* combo, const QString& text);
// Chooses in an office pair the office of that number; none when the pair does not list it.
void eligeAduana(QComboBox* numbers, QComboBox* names, qint64 numero);
