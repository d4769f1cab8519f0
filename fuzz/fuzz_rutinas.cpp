// The identifier checks and the address check, fed any text; an address is the input's fields split at "|".
#include "data/Domicilio.h"
#include "data/Rutinas.h"

#include <QStringList>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    Valida_CURP(text);
    Valida_RFC(text);
    Valida_Patente(text);
    const QStringList f = text.split(QLatin1Char('|'));
    revisaDomicilio({f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5), f.value(6), f.value(7)});
    return 0;
}
