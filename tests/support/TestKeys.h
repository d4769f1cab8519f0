#pragma once
// The broker's key of the signing tests, kept in tests/data in the forms the authority issues (its README tells how
// each was made), and a verifier that reads the appended signature line as any outside party would.

#include "TestSupport.h"
#include "platform/Process.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// The password of the encrypted keys.
inline const QByteArray kTestKeyPassword = "Contraseña#1";

inline QString testData(const QString& name) {
    return QStringLiteral(TOLVEK_TEST_DATA "/") + name;
}

// Copies the file of tests/data (a key, a request) to `path`; gives the path.
inline QString copyTestData(const QString& name, const QString& path) {
    QFile::copy(testData(name), path);
    return path;
}

// Splits a signed file into what was signed and its last line "FIRMA|<CURP>|<Base64>" CR LF; true when the
// signature verifies against the public half of the test key alone, checked by `openssl dgst -verify` as the
// authority would.
inline bool verifySignedFile(const QByteArray& file, QByteArray* content = nullptr, QByteArray* curp = nullptr) {
    const qsizetype lineStart = file.lastIndexOf('\n', file.size() - 3) + 1;
    const QByteArray signedPart = file.left(lineStart);
    const QList<QByteArray> fields = file.mid(lineStart).chopped(file.endsWith("\r\n") ? 2 : 0).split('|');
    if (!file.endsWith("\r\n") || fields.size() != 3 || fields[0] != "FIRMA")
        return false;
    if (content)
        *content = signedPart;
    if (curp)
        *curp = fields[1];
    const QByteArray signature = QByteArray::fromBase64(fields[2], QByteArray::AbortOnBase64DecodingErrors);
    const QTemporaryDir dir;
    const QStringList arguments = {"dgst",
                                   "-sha256",
                                   "-verify",
                                   testData("publica.pem"),
                                   "-signature",
                                   writeFile(dir.filePath("firma"), signature),
                                   writeFile(dir.filePath("datos"), signedPart)};
    return !signature.isEmpty() &&
           runProgram("openssl", dir.path(), 30000, arguments).outcome == ProgramRun::Outcome::Finished;
}

// The program loads its signing library from its own folder: a test's program folder gets a copy of the built one
// (or of the one built in `from`).
inline bool copySigningLibrary(const QString& folder, const QString& from = QStringLiteral(TOLVEK_PROGRAM_DIR)) {
    const QDir built(from);
    const QStringList names = built.entryList({QStringLiteral("*kfirma32.*")}, QDir::Files);
    if (names.isEmpty())
        return false;
    for (const QString& name : names)
        if (!QFile::copy(built.filePath(name), QDir(folder).filePath(name)))
            return false;
    return true;
}
