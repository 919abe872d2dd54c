#pragma once

#include <QByteArray>
#include <QString>

// Windows code page 1252, the program's text encoding in files.
// Bytes that the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
// characters of the same number, as Windows does, so that every byte survives a round trip.
QString FromCp1252(QByteArrayView Bytes);

// A character that the code page cannot hold is written as "?".
QByteArray ToCp1252(QStringView Text);
