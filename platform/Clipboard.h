#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

class QMimeData;

// Text as it leaves the program, marked secret for the system's clipboard histories, managers and cloud
// clipboard, which then keep no copy of it.
QMimeData* MarkedText(const QString& Text);

// The system's own marks of a secret: a format each, and its data.
QList<std::pair<QString, QByteArray>> SecretMarks();
