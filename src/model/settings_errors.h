#pragma once

#include <stdexcept>
#include <string>

#include <QString>

namespace kv {

// A stored value that does not convert to what the program needs (a settings
// entry that should be a number, say). It travels to the handler of the
// operator's action or of start-up, which shows its text.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &what) : std::runtime_error(what.toStdString()) {}
};

// A file that could not be read or written (settings file, command file).
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString &what) : std::runtime_error(what.toStdString()) {}
};

} // namespace kv
