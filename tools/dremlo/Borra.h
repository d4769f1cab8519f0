// The erasing of the listed files, apart from the tool's start so that any list can be fed to it.
#pragma once

#include <filesystem>
#include <ostream>

namespace dremlo {

// Erases the files named in the folder's Borra.txt that lie inside the folder (given as a canonical path), then the
// list itself; says on `messages` what it passed over. Gives 0 when all went, 1 without a list, 2 otherwise.
int borraListados(const std::filesystem::path& envio, std::ostream& messages);

} // namespace dremlo
