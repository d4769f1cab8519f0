#include "Borra.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace dremlo {
namespace {

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

bool inside(const fs::path& folder, const fs::path& file) {
    const auto [f, p] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    return f == folder.end() && p != file.end();
}

} // namespace

int borraListados(const fs::path& envio, std::ostream& messages) {
    std::error_code error;
    const fs::path list = envio / "Borra.txt";
    std::ifstream in(list, std::ios::binary);
    if (!in) {
        messages << "Dremlo: no hay lista de archivos por borrar en " << envio.string() << "\n";
        return 1;
    }
    int refused = 0;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        // A list saved again by a Windows editor starts with a byte order mark, which is no part of the first name.
        if (first && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        first = false;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty())
            continue;
        fs::path named = fromUtf8(line);
        if (named.is_relative())
            named = envio / named;
        // Links and ".." are resolved first, so that a name cannot lead out of the folder.
        const fs::path file = fs::canonical(named, error);
        if (error)
            continue; // already gone
        if (!inside(envio, file) || !fs::is_regular_file(file) || file == list) {
            messages << "Dremlo: no se borra " << line << " (no es un archivo de la carpeta " << envio.string()
                     << ")\n";
            ++refused;
            continue;
        }
        fs::remove(file, error);
        if (error) {
            messages << "Dremlo: no se pudo borrar " << line << ": " << error.message() << "\n";
            ++refused;
        }
    }
    in.close();
    fs::remove(list, error);
    return refused == 0 && !error ? 0 : 2;
}

} // namespace dremlo
