#include "platform/TMemo.h"

#include "platform/Clipboard.h"

QMimeData* TMemo::createMimeDataFromSelection() const {
    QMimeData* data = QPlainTextEdit::createMimeDataFromSelection();
    MarkSecret(data);
    return data;
}
