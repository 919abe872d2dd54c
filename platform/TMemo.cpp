#include "platform/TMemo.h"

#include "platform/Clipboard.h"

#include <QMimeData>
#include <memory>

// Plain text alone: the toolkit's own data lists only its text formats, so marks added to it would
// not leave the program.
QMimeData* TMemo::createMimeDataFromSelection() const {
    const std::unique_ptr<QMimeData> selection(QPlainTextEdit::createMimeDataFromSelection());
    return MarkedText(selection->text());
}
