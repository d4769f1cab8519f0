#pragma once
// What the benchmarks share: a brokerage of any size, time and memory figures, and the sqlite3 shell they are
// measured against.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class Database;

// The broker 3012 with his two addresses and `representatives` representatives of mandate types 1, 2 and 3 in turn,
// each with two addresses, one customs office and one declaration. Made by the engine itself, so that 100,000
// take seconds, not minutes.
void fillBrokerage(Database& db, int representatives);

// A figure of /proc/self/status in kB ("VmHWM:" the peak, "VmRSS:" the present size); -1 where there is none.
long statusKb(const char* field);
// Lets VmHWM start again from the present size (Linux 4.0 on).
void resetPeak();

// The best of `rounds` runs in ms, the fairest figure on a busy machine; -1 when a run fails.
double bestMs(int rounds, const std::function<bool()>& run);
double median(QList<double> values);

// Runs the sqlite3 shell's commands (dot-commands or SQL) on the database, stopping at the first error; false on one.
bool runSqlite3(const QString& shell, const QString& database, const QStringList& commands);
