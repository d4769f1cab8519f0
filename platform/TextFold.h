#pragma once

#include <QByteArrayView>

// Text as a search compares it: in lower case and without its diacritics, so that "DÍAZ" and "diaz" fold alike and
// "Ñ" folds to "n". UTF-8 in and out; bytes that are no UTF-8 are kept as they are.
// Writes the fold of `utf8` at `out`, which has room for twice its bytes (no code point folds to one more than
// twice as long: two bytes to three at most), and gives the end of what it wrote.
char* fold(QByteArrayView utf8, char* out);
