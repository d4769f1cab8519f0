// Dremlo: erases the files listed in Borra.txt of the sending folder, then the list itself.
//
//   Dremlo [sending folder]      (default: the ENVIO folder beside this program)
//
// TOLVEK leaves the list when the broker leaves after a signing that failed, so that the unsigned information
// file is not sent by mistake. Only files inside the sending folder are ever erased: a line naming anything
// else is passed over.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

bool inside(const fs::path& folder, const fs::path& file) {
    const auto [f, p] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    return f == folder.end() && p != file.end();
}

fs::path programFolder(const char* argv0) {
    std::error_code error;
    fs::path self = fs::canonical("/proc/self/exe", error);
    if (error)
        self = fs::absolute(fromUtf8(argv0), error);
    return self.parent_path();
}

} // namespace

int main(int argc, char** argv) {
    std::error_code error;
    const fs::path given = argc > 1 ? fromUtf8(argv[1]) : programFolder(argv[0]) / "ENVIO";
    const fs::path envio = fs::canonical(given, error);
    if (error || !fs::is_directory(envio)) {
        std::cerr << "Dremlo: no existe la carpeta " << given.string() << "\n";
        return 1;
    }
    const fs::path list = envio / "Borra.txt";
    std::ifstream in(list, std::ios::binary);
    if (!in) {
        std::cerr << "Dremlo: no hay lista de archivos por borrar en " << envio.string() << "\n";
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
            std::cerr << "Dremlo: no se borra " << line << " (no es un archivo de la carpeta " << envio.string()
                      << ")\n";
            ++refused;
            continue;
        }
        fs::remove(file, error);
        if (error) {
            std::cerr << "Dremlo: no se pudo borrar " << line << ": " << error.message() << "\n";
            ++refused;
        }
    }
    in.close();
    fs::remove(list, error);
    return refused == 0 && !error ? 0 : 2;
}
