#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

class QMimeData;

// Marks Data as secret for the system's clipboard histories, managers and cloud clipboard, which then
// keep no copy of it; its text stays as it is.
void MarkSecret(QMimeData* Data);

// From now on, whatever this program puts on the clipboard or the selection (X11) carries the marks.
void MarkEveryCopySecret();

// The system's own marks of a secret: a format each, and its data.
QList<std::pair<QString, QByteArray>> SecretMarks();
