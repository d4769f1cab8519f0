#include "app/VerificaPaginas.h"

#include "data/Completitud.h"
#include "lists/PaginaMandatarios.h"
#include "platform/Messages.h"

bool Verifica_Datos_p2(QWidget* parent, Store& store) {
    const std::optional<QString> fault = revisaMandatarios(store);
    if (fault)
        inform(parent, *fault);
    return !fault;
}

bool Verifica_Datos_p4(const PaginaMandatarios& pagina) {
    return pagina.hayAspirantes();
}
