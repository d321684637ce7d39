#pragma once

#include <QString>
#include <stdexcept>

// Our own error type for failures the logic does not expect (a stored
// number that is not a number, a file that cannot be written). The shell
// catches it at the event boundary and shows it in an error box.
class TarnwellError : public std::runtime_error {
public:
    explicit TarnwellError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& Message() const { return message_; }

private:
    QString message_;
};
