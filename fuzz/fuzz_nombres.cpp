// The check of request names against ENVIO's own files, fed a patente and any names, one a line: whatever it lets
// through must neither meet a name the program writes there or erases at start, nor another request's name.
#include "export/NombresEnvio.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    const QString patente = lines.first();
    // Read below as a pattern: a patente with pattern characters would widen it.
    if (patente.contains(QRegularExpression(QStringLiteral("[*?\\[\\]]"))))
        return 0;
    RevisaNombres nombres(patente);
    QSet<QString> aceptados;
    const QStringList propios{patente + ".txt", patente + ".txt.*", "*.txt.firmando", "*.copia",
                              "Borra.txt",      "Borra.txt.*",      ".tolvek-*"};
    for (const QString& line : lines.mid(1)) {
        if (nombres.agrega("R", "C", line))
            continue;
        const QString name = QFileInfo(line).fileName();
        if (QDir::match(propios, name) || aceptados.contains(name.toCaseFolded()))
            std::abort();
        aceptados.insert(name.toCaseFolded());
    }
    return 0;
}
