#pragma once

#include <QObject>
#include <QString>

// A widget built in code carries its name as every form's controls do: the checks and the tests find it by it.
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
