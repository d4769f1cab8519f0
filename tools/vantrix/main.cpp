// Vantrix: writes the previous version's data as the export that TOLVEK 3 imports at its first start.
//
// Started in the previous version's folder, it reads that folder's Datos.txt (one record per line, in the
// export's record format: tag, "|", the exporting broker's patente (the broker's own record excepted), "|",
// values) and writes Recupera.txt beside it: a header line, every record between double quotes, and the
// closing record "800". Bytes are copied as they are (Windows-1252 text stays Windows-1252).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kData = "Datos.txt";
const char* const kExport = "Recupera.txt";

// The patente of the broker record, which the closing record repeats as every other record does.
std::string patenteOf(const std::vector<std::string>& records) {
    for (const std::string& r : records) {
        if (r.rfind("AA|", 0) == 0) {
            const std::size_t end = r.find('|', 3);
            return r.substr(3, end == std::string::npos ? std::string::npos : end - 3);
        }
    }
    return {};
}

} // namespace

int main() {
    std::ifstream in(kData, std::ios::binary);
    if (!in) {
        std::cerr << "Vantrix: no se encontró " << kData << " en " << std::filesystem::current_path().string() << "\n";
        return 2;
    }
    std::vector<std::string> records;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            records.push_back(line);
    }
    if (in.bad()) {
        std::cerr << "Vantrix: no se pudo leer " << kData << "\n";
        return 3;
    }

    // Written aside and renamed into place, so that an interrupted run never leaves half an export.
    const std::string partial = std::string(kExport) + ".parcial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << "\"TOLVEK|Recupera|" << records.size() << "\"\r\n";
        for (const std::string& r : records)
            out << '"' << r << "\"\r\n";
        out << "\"800|" << patenteOf(records) << "|\"\r\n";
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
