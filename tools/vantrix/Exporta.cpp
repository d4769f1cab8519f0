#include "Exporta.h"

namespace vantrix {
namespace {

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

bool readDatos(std::istream& in, std::vector<std::string>& records) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            records.push_back(line);
    }
    return !in.bad();
}

void writeRecupera(std::ostream& out, const std::vector<std::string>& records) {
    out << "\"TOLVEK|Recupera|" << records.size() << "\"\r\n";
    for (const std::string& r : records)
        out << '"' << r << "\"\r\n";
    out << "\"800|" << patenteOf(records) << "|\"\r\n";
}

} // namespace vantrix
