// The erasing list of the sending folder and the one rule of what may be erased from it: shared by Dremlo and by
// the program's start, so that both erase exactly the same files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace dremlo {

inline constexpr const char* kLista = "Borra.txt";
// A list names the unsigned files and the request copies that went with them, some tens of thousands of names in
// a large brokerage; anything larger is not one of ours.
inline constexpr std::size_t kMaxLista = 4 * 1024 * 1024;

// What ENVIO/Borra.txt holds: its names, one a line, or why it was not read.
struct Lista {
    bool existe = false;
    std::vector<std::string> nombres;
    // Empty, or why the list was refused (not a regular file, too large, unreadable).
    std::string rechazo;
};
// Reads the list as the key is read: only a regular file, opened without blocking (a FIFO cannot hold the caller),
// at most kMaxLista bytes.
Lista leeLista(const std::filesystem::path& envio);

// The file a listed name stands for, when it may be erased: its canonical path lies directly in `envio` (itself
// canonical), it is a regular file, not a link, and not the list itself. Lists name files relative to ENVIO; an
// earlier release wrote full paths, of which only the file name counts, since the data folder may have moved.
std::optional<std::filesystem::path> borrable(const std::filesystem::path& envio, const std::string& nombre);

// Erases what the folder's list names under the rule, then the list itself; says on `messages`
// what it passed over. Gives 0 when all went, 1 without a list, 2 otherwise.
int borraListados(const std::filesystem::path& envio, std::ostream& messages);

// The names (the list's and six characters of its own after a dot) a rewrite of the list that broke off leaves.
bool restoDeLista(const std::string& fileName);

} // namespace dremlo
