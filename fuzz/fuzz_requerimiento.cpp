// The reader of request files, fed any bytes as the file's content.
#include "representative/Requerimiento.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("r.req"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    const LecturaRequerimiento lectura = leeRequerimiento(path);
    const bool valido = lectura.estado == EstadoRequerimiento::Valido;
    if (valido != lectura.motivo.isEmpty() || (valido && (lectura.rfc.isEmpty() || lectura.curp.isEmpty())))
        std::abort();
    return 0;
}
