#include "app/Idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void usaEspanolDeMexico() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QLocale mexico(QLocale::Spanish, QLocale::Mexico);
    QLocale::setDefault(mexico);
    // Owned by the application; without the distribution's translations Qt's words simply stay in English.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(mexico, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}
