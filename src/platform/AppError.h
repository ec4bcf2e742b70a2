#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program: a failing platform operation or an
// impossible value. Its message is shown to the user as it stands.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
