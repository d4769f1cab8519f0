#pragma once

class PaginaMandatarios;
class QWidget;
class Store;

// Page 2 may be left: at least one representative and every one complete. Tells the user the first fault.
bool Verifica_Datos_p2(QWidget* parent, Store& store);
// Page 4 may be left: at least one aspirant listed.
bool Verifica_Datos_p4(const PaginaMandatarios& pagina);
