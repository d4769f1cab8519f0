#pragma once

#include <QString>

#include <stdexcept>

// How the core tells that an operation could not be done: it throws a Falla, or one of its kinds, whose message
// is what the user reads (in Spanish, whole, ready for a message box). A check that finds a fault in what the user
// typed is not a failure: it gives its message back as a value. Nothing is half-done when a Falla leaves a call:
// writes are undone and partial files removed before it is thrown.
class Falla : public std::runtime_error {
public:
    explicit Falla(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};
