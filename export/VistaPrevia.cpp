#include "export/VistaPrevia.h"

#include "export/Windows1252.h"

#include <QStringList>

#include <algorithm>
#include <utility>

QString textoDelArchivo(QByteArrayView archivo) {
    QString texto;
    texto.reserve(archivo.size());
    for (qsizetype i = 0; i < archivo.size(); ++i) {
        const auto b = uchar(archivo[i]);
        if (b == '\r' && i + 1 < archivo.size() && archivo[i + 1] == '\n')
            continue;
        if (b < 0x80 || b >= 0xA0)
            texto += QChar(b);
        // The writer puts no byte the code page lacks; were one there, it would show as the replacement mark.
        else
            texto += kHighHalf[b - 0x80] ? QChar(kHighHalf[b - 0x80]) : QChar(QChar::ReplacementCharacter);
    }
    return texto;
}

void CuentaRegistros::agrega(QByteArrayView linea) {
    ++total_;
    // The record's type is its first field: "501", "AA", "Mandatarios", "800".
    const qsizetype bar = linea.indexOf('|');
    const QString tipo = QString::fromLatin1(bar < 0 ? linea.trimmed() : linea.first(bar));
    auto found = std::find_if(tipos_.begin(), tipos_.end(), [&](const auto& t) { return t.first == tipo; });
    if (found == tipos_.end())
        tipos_.append({tipo, 1});
    else
        ++found->second;
}

QString cuentaRegistros(QByteArrayView archivo) {
    CuentaRegistros cuenta;
    for (qsizetype start = 0; start < archivo.size();) {
        qsizetype end = archivo.indexOf('\n', start);
        if (end < 0)
            end = archivo.size();
        cuenta.agrega(archivo.sliced(start, end - start));
        start = end + 1;
    }
    QStringList partes;
    for (const auto& [tipo, n] : cuenta.tipos())
        partes << QStringLiteral("%1: %2").arg(tipo).arg(n);
    return QStringLiteral("Registros por tipo:   %1   Total: %2")
        .arg(partes.join(QStringLiteral("   ")))
        .arg(cuenta.total());
}
