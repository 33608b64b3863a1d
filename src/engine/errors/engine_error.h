#pragma once

#include <QString>

#include <stdexcept>

namespace zq {

// The one error type the engine raises. Its text is the message the user sees
// (the designer adds the full stop when it shows it).
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString &message)
        : std::runtime_error(message.toStdString())
    {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace zq
