#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace vaha {

// The one exception type of the program. Every failure that is not an expected condition
// travels as an Error up to the guarded event handler, which shows its text in the standard
// error box and lets the program go on.
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace vaha
