#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The information file is written and signed under its name with this ending, beside the place it goes once
// signed.
inline constexpr const char* kSufijoFirmando = ".firmando";

// Request files are copied into ENVIO under their own names, beside the files the program itself writes there.
// A name that meets one of those would overwrite it, become the erasing list, or be erased as a leftover at the
// next start; two requests of one name would leave only one. The authority's desktop sees names without case.
class RevisaNombres {
public:
    explicit RevisaNombres(const QString& patente);
    // Empty when the representative's request file `requerimiento` can go into ENVIO under its name; otherwise
    // what the broker is told, naming both representatives or the program's file.
    std::optional<QString> agrega(const QString& representante, const QString& curp, const QString& requerimiento);

private:
    struct Visto {
        QString representante, curp, requerimiento;
    };
    QString informacion_;
    QHash<QString, Visto> vistos_;
};
