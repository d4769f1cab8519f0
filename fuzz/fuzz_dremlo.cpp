// Dremlo's erasing and the rule the program's start shares with it, fed any list. The folder beside ENVIO holds files
// and ENVIO holds links to them: whatever the list names, they must all stay.
#include "tools/dremlo/Borra.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path base;

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string name = (fs::temp_directory_path() / "dremlo-fuzz-XXXXXX").string();
    if (!mkdtemp(name.data()))
        std::abort();
    base = fs::canonical(name);
    std::atexit([] { fs::remove_all(base); });
    fs::create_directories(base / "otra");
    write(base / "fuera.txt", "fuera");
    write(base / "otra" / "x.txt", "x");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path envio = base / "ENVIO";
    fs::remove_all(envio);
    fs::create_directories(envio / "sub");
    write(envio / "a.txt", "a");
    write(envio / "sub" / "b.txt", "b");
    fs::create_symlink(base / "fuera.txt", envio / "enlace.txt");
    fs::create_directory_symlink(base / "otra", envio / "carpeta");
    write(envio / "Borra.txt", std::string(reinterpret_cast<const char*>(data), size));
    // The rule alone: whatever a line names, it may only ever stand for a plain file directly in ENVIO.
    const std::string line(reinterpret_cast<const char*>(data), size);
    if (const auto file = dremlo::borrable(envio, line.substr(0, line.find('\n')));
        file && (file->parent_path() != envio || fs::is_symlink(*file) || !fs::is_regular_file(*file)))
        std::abort();
    std::ostringstream messages;
    dremlo::borraListados(envio, messages);
    if (!fs::exists(base / "fuera.txt") || !fs::exists(base / "otra" / "x.txt") ||
        !fs::is_symlink(envio / "enlace.txt") || !fs::is_symlink(envio / "carpeta"))
        std::abort();
    return 0;
}
