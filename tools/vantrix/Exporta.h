// Reading Datos.txt and writing the export, apart from the tool's start so that any bytes can be fed to them.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace vantrix {

// The records of Datos.txt, one a line: line ends (LF or CR LF) and empty lines are no part of them.
// False when the stream could not be read.
bool readDatos(std::istream& in, std::vector<std::string>& records);

// The export: a header with the number of records, every record between double quotes, the closing record "800".
void writeRecupera(std::ostream& out, const std::vector<std::string>& records);

} // namespace vantrix
