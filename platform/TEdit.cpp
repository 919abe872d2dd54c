#include "platform/TEdit.h"

#include "platform/Clipboard.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <functional>
#include <utility>

namespace {
bool HasSelectionClipboard() {
    return QGuiApplication::clipboard()->supportsSelection();
}
} // namespace

TEdit::TEdit(QWidget* Parent)
    : QLineEdit(Parent) {
    QFont unshaped = font();
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    setFont(unshaped);
}

void TEdit::CopySelection(QClipboard::Mode Mode) const {
    if (!hasSelectedText() || echoMode() != Normal ||
        (Mode == QClipboard::Selection && !HasSelectionClipboard()))
        return;
    QGuiApplication::clipboard()->setMimeData(MarkedText(selectedText()), Mode);
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
    // After every key it handles, the toolkit's edit puts the selected text into the selection, plain.
    // Where there is such a selection, the keys that move or select are handled here, and the edit gets
    // the others only while nothing is selected, or Return, which it passes on before that.
    if (Event->matches(QKeySequence::Copy)) {
        CopySelection(QClipboard::Clipboard);
    } else if (!HasSelectionClipboard()) {
        QLineEdit::keyPressEvent(Event);
        return;
    } else if (!MoveOrSelect(Event)) {
        if (!hasSelectedText() || Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter)
            QLineEdit::keyPressEvent(Event);
        else
            Event->ignore(); // read-only: no other key changes anything here
        return;
    }
    CopySelection(QClipboard::Selection); // as the toolkit's edit does after each key it handles
    Event->accept();
}

bool TEdit::MoveOrSelect(const QKeyEvent* Event) {
    // As the toolkit's edit does them where there is a selection clipboard (X11, Wayland): a step aside
    // ends a selection at that edge, and "ahead" is the way the text runs, whatever the window's direction.
    const int ahead = text().isRightToLeft() ? -1 : 1;
    const auto step = [this](bool mark, int steps) {
        if (!mark && hasSelectedText())
            setCursorPosition(steps > 0 ? selectionEnd() : selectionStart());
        else
            cursorForward(mark, steps);
    };
    const auto word = [this, ahead](bool mark, int direction) {
        if (direction * ahead > 0)
            cursorWordForward(mark);
        else
            cursorWordBackward(mark);
    };
    const std::pair<QKeySequence::StandardKey, std::function<void()>> moves[] = {
        {QKeySequence::SelectAll, [this] { selectAll(); }},
        {QKeySequence::MoveToStartOfLine, [this] { home(false); }},
        {QKeySequence::MoveToStartOfBlock, [this] { home(false); }},
        {QKeySequence::MoveToEndOfLine, [this] { end(false); }},
        {QKeySequence::MoveToEndOfBlock, [this] { end(false); }},
        {QKeySequence::SelectStartOfLine, [this] { home(true); }},
        {QKeySequence::SelectStartOfBlock, [this] { home(true); }},
        {QKeySequence::SelectEndOfLine, [this] { end(true); }},
        {QKeySequence::SelectEndOfBlock, [this] { end(true); }},
        {QKeySequence::MoveToNextChar, [&] { step(false, ahead); }},
        {QKeySequence::MoveToPreviousChar, [&] { step(false, -ahead); }},
        {QKeySequence::SelectNextChar, [&] { step(true, ahead); }},
        {QKeySequence::SelectPreviousChar, [&] { step(true, -ahead); }},
        {QKeySequence::MoveToNextWord, [&] { word(false, 1); }},
        {QKeySequence::MoveToPreviousWord, [&] { word(false, -1); }},
        {QKeySequence::SelectNextWord, [&] { word(true, 1); }},
        {QKeySequence::SelectPreviousWord, [&] { word(true, -1); }},
    };
    for (const auto& [keys, move] : moves)
        if (Event->matches(keys)) {
            move();
            return true;
        }
    return false;
}

void TEdit::mouseReleaseEvent(QMouseEvent* Event) {
    // The toolkit's edit puts the selected text into the selection here, plain; the rest of what it does
    // on release is for dragging and editing, which this edit does not.
    if (Event->button() == Qt::LeftButton && HasSelectionClipboard()) {
        CopySelection(QClipboard::Selection);
        Event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(Event);
}

void TEdit::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu* menu = createStandardContextMenu();
    // The toolkit's menu, in the user's language; its "Copy" would copy plain, so it copies marked.
    for (QAction* action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Copy")) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, [this] { CopySelection(QClipboard::Clipboard); });
        }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(Event->globalPos());
}
