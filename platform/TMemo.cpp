#include "platform/TMemo.h"

#include "platform/Clipboard.h"

#include <QMimeData>
#include <memory>

TMemo::TMemo(QWidget* Parent)
    : QPlainTextEdit(Parent) {
    QFont unshaped = font();
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    setFont(unshaped);
}

// Plain text alone: the toolkit's own data lists only its text formats, so marks added to it would
// not leave the program.
QMimeData* TMemo::createMimeDataFromSelection() const {
    const std::unique_ptr<QMimeData> selection(QPlainTextEdit::createMimeDataFromSelection());
    return MarkedText(selection->text());
}
