#pragma once

#include <QByteArray>
#include <QFile>
#include <QTest>

// Every byte of a literal, NUL bytes included.
template <std::size_t N> QByteArray Bytes(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

// The file's bytes; "(none)" when it cannot be read, which no settings file holds.
inline QByteArray Contents(const QString& Path) {
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Replaces the file's bytes; the calling test fails if it cannot.
inline void Store(const QString& Path, const QByteArray& Bytes) {
    QFile file(Path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(Bytes), Bytes.size());
}
