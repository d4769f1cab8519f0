// Dremlo: erases the files listed in Borra.txt of the sending folder, then the list itself.
//
//   Dremlo [sending folder]      (default: the ENVIO folder beside this program)
//
// TOLVEK leaves the list when the broker leaves after a signing that failed, so that the unsigned information
// file is not sent by mistake. Only files inside the sending folder are ever erased: a line naming anything
// else is passed over.
#include "Borra.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
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
    return dremlo::borraListados(envio, std::cerr);
}
