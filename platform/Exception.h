#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error meant for the user: its message is German text that the top-level handler shows.
class Exception : public std::exception {
public:
    explicit Exception(const QString& Message)
        : message_(Message)
        , utf8_(Message.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A text that does not convert to the number asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
