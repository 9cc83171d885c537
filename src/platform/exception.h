#pragma once
// Base of the exceptions the program raises for faults inside the model. The
// message is the text shown to the user when such a fault reaches a window.
#include <QByteArray>
#include <QString>
#include <exception>

namespace tvx {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : Message(std::move(message)), Utf8(Message.toUtf8()) {}
    const char* what() const noexcept override { return Utf8.constData(); }
    const QString& message() const { return Message; }

private:
    QString Message;
    QByteArray Utf8;
};

} // namespace tvx
