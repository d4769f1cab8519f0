// Vantrix: writes the previous version's data as the export that TOLVEK 3 imports at its first start.
//
// Started in the previous version's folder, it reads that folder's Datos.txt (one record per line, in the
// export's record format: tag, "|", the exporting broker's patente (the broker's own record excepted), "|",
// values) and writes Recupera.txt beside it: a header line, every record between double quotes, and the
// closing record "800". Bytes are copied as they are (Windows-1252 text stays Windows-1252).

#include "Exporta.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kData = "Datos.txt";
const char* const kExport = "Recupera.txt";

} // namespace

int main() {
    std::ifstream in(kData, std::ios::binary);
    if (!in) {
        std::cerr << "Vantrix: no se encontró " << kData << " en " << std::filesystem::current_path().string() << "\n";
        return 2;
    }
    std::vector<std::string> records;
    if (!vantrix::readDatos(in, records)) {
        std::cerr << "Vantrix: no se pudo leer " << kData << "\n";
        return 3;
    }

    // Written aside and renamed into place, so that an interrupted run never leaves half an export.
    const std::string partial = std::string(kExport) + ".parcial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        vantrix::writeRecupera(out, records);
        out.flush();
        if (!out) {
            std::cerr << "Vantrix: no se pudo escribir " << kExport << "\n";
            out.close();
            std::remove(partial.c_str());
            return 4;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, kExport, error);
    if (error) {
        std::cerr << "Vantrix: no se pudo escribir " << kExport << ": " << error.message() << "\n";
        std::remove(partial.c_str());
        return 4;
    }
    return 0;
}
