#include "Borra.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace dremlo {
namespace {

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::vector<std::string> lineas(std::string bytes) {
    // A list saved again by a Windows editor starts with a byte order mark, which is no part of the first name.
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    std::vector<std::string> nombres;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (!line.empty())
            nombres.push_back(std::move(line));
        start = end + 1;
    }
    return nombres;
}

} // namespace

Lista leeLista(const fs::path& envio) {
    Lista lista;
    const Fd file{::open((envio / kLista).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW)};
    if (file.fd < 0) {
        lista.existe = errno != ENOENT;
        if (lista.existe)
            lista.rechazo = std::strerror(errno);
        return lista;
    }
    lista.existe = true;
    struct stat st;
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        lista.rechazo = "no es un archivo";
        return lista;
    }
    // The file may grow after the check: one byte more than allowed is enough to tell.
    std::string bytes(kMaxLista + 1, '\0');
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + total, bytes.size() - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            lista.rechazo = std::strerror(errno);
            return lista;
        }
        if (n == 0)
            break;
        total += std::size_t(n);
    }
    if (total > kMaxLista) {
        lista.rechazo = "es mayor de 4 MB";
        return lista;
    }
    bytes.resize(total);
    lista.nombres = lineas(std::move(bytes));
    return lista;
}

std::optional<fs::path> borrable(const fs::path& envio, const std::string& nombre) {
    if (nombre.empty() || nombre.find('\0') != std::string::npos)
        return std::nullopt;
    const fs::path named = fromUtf8(nombre);
    const fs::path path = named.is_absolute() ? envio / named.filename() : envio / named;
    std::error_code error;
    // The name itself must not be a link; links and ".." before it are resolved, so that none leads out.
    if (!fs::is_regular_file(fs::symlink_status(path, error)) || error)
        return std::nullopt;
    const fs::path file = fs::canonical(path, error);
    if (error || file.parent_path() != envio || file.filename() == kLista)
        return std::nullopt;
    if (!fs::is_regular_file(fs::symlink_status(file, error)) || error)
        return std::nullopt;
    return file;
}

bool restoDeLista(const std::string& fileName) {
    const std::string prefix = std::string(kLista) + ".";
    return fileName.size() == prefix.size() + 6 && fileName.rfind(prefix, 0) == 0;
}

int borraListados(const fs::path& envio, std::ostream& messages) {
    const Lista lista = leeLista(envio);
    if (!lista.existe) {
        messages << "Dremlo: no hay lista de archivos por borrar en " << envio.string() << "\n";
        return 1;
    }
    if (!lista.rechazo.empty()) {
        messages << "Dremlo: no se lee la lista " << (envio / kLista).string() << " (" << lista.rechazo << ")\n";
        return 2;
    }
    int refused = 0;
    std::error_code error;
    for (const std::string& nombre : lista.nombres) {
        const std::optional<fs::path> file = borrable(envio, nombre);
        if (!file) {
            if (fs::exists(fs::symlink_status(envio / fromUtf8(nombre), error))) {
                messages << "Dremlo: no se borra " << nombre << " (no es un archivo de la carpeta " << envio.string()
                         << ")\n";
                ++refused;
            }
            continue; // already gone
        }
        if (!fs::remove(*file, error) && error) {
            messages << "Dremlo: no se pudo borrar " << nombre << ": " << error.message() << "\n";
            ++refused;
        }
    }
    fs::remove(envio / kLista, error);
    return refused == 0 && !error ? 0 : 2;
}

} // namespace dremlo
