#pragma once
// The program's exception: carries a German message for the user. Thrown where
// the engine or a file operation fails; the application shows it in a box.
#include <QString>
#include <stdexcept>

namespace platform {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace platform
