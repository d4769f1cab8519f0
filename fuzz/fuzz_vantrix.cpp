// Vantrix's reading of Datos.txt and writing of the export, fed any bytes.
#include "tools/vantrix/Exporta.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> records;
    vantrix::readDatos(in, records);
    // Every record becomes one line of the export: none may hold a line feed, and an empty line is no record.
    for (const std::string& r : records)
        if (r.empty() || r.find('\n') != std::string::npos)
            std::abort();
    std::ostringstream out;
    vantrix::writeRecupera(out, records);
    return 0;
}
