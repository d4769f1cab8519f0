#pragma once
// Fixtures that several tests share: the start-up through the real start window, the usual broker and
// representatives stored straight into the database, and readers of grids and tables.

#include "data/Entidades.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class Database;
class ModalDriver;
class QObject;
class QTableView;
class QWidget;
class frmMain;

// Runs the window's start-up, pressing "&Continuar" on the start window; collects the start window's objectName,
// title and three labels when asked to. Gives iniciar()'s result.
bool startUp(frmMain& window, ModalDriver& driver, QStringList* startWindowTexts = nullptr);

// The program's database in the folder, created with its catalogues when missing; a failure ends the test run.
std::unique_ptr<Database> openDatabase(const QString& folder);

// The broker most fixtures use: patente 470, EMILIO GOMEZ DIAZ (GODE561231GR8, GODE561231HDFRRN09), office of
// assignment 470, a fiscal address in CUAUHTÉMOC, CIUDAD DE MÉXICO without NoInt and Fax, and an address for
// notifications in ÑUU SAVI, GUERRERO.
void storeBroker(Database& db);

// A representative LOPEZ TORRES, operating, with his request file "/req/<RFC>.req", no accreditation, no offices
// and no declarations, and both addresses: "<nombre> PARTICULAR" in ACAPULCO DE JUÁREZ, GUERRERO (no NoInt) and
// "<nombre> FISCAL" in CUAUHTÉMOC, CIUDAD DE MÉXICO (NoInt "4B"). Stored with guardaMandatario.
Mandatario representative(const QString& curp, const QString& rfc, const QString& nombre, Mandato mandato);

// The page of the wizard on show, 1 to 4.
int pagina(QWidget* window);
// The manual's page a help window shows, by its file name without ".md"; empty when none could be read.
QString temaMostrado(QObject* ayuda);

// Presses the button, which must be there and enabled.
void press(QWidget* root, const char* buttonName);
// Selects the data row with the keyboard alone (Ctrl+Home, then the down arrow), as a user who never clicks would.
void selectByKeyboard(QTableView* grid, int row);

// The data rows of a grid, cells joined by "|".
QStringList gridRows(const QTableView* grid);
QStringList gridRows(QObject* root, const char* gridName);

// Every row of a table as the engine returns it, each value by its kind: "null", "#<number>" or the text itself,
// so that a number stored as text or an empty text stored as Null shows. Cells joined by "|".
QStringList tableRows(Database& db, const QString& table);
// tableRows of every table that holds captured data (not the catalogues), one line per table "<table>: r1 / r2".
QStringList dumpAll(Database& db);

// The lines, each ended with CR LF.
QByteArray crlf(const QList<QByteArray>& lines);
