#pragma once

#include <QString>

// Where the program finds its companion tools and signing library, and where it keeps what it writes (the
// database, ENVIO, the lock of the running copy).
struct ProgramFolders {
    // Implicit on purpose: one folder holding both is the common case (a program run from its build folder, a
    // test's temporary folder).
    ProgramFolders(const QString& folder) : program(folder), data(folder) {}
    ProgramFolders(const QString& program, const QString& data) : program(program), data(data) {}

    QString program;
    QString data;
};

// The folders of the program whose executable lies in executableFolder. Run from where it was built, everything
// stays beside the executable. Installed (under /usr, or anywhere its user cannot write), it keeps its data in the
// user's own data folder, created when missing: each user has his own database, and nothing is written among the
// program's files.
ProgramFolders programFolders(const QString& executableFolder);
