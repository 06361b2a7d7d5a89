// Errors meant for the user's eyes, and the text the error box shows for
// any exception that escapes a command.
#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

// An error whose text is German and names its cause: the program's own.
class UserError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
    QString message() const { return QString::fromUtf8(what()); }
};

// A UserError says what it says. The library's own exceptions speak English
// ("std::bad_alloc"): they are logged and named in German instead.
QString exceptionText(const std::exception &e);
// For an exception that is no std::exception at all.
QString unknownExceptionText();
