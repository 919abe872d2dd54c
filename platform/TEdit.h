#pragma once

#include <QClipboard>
#include <QLineEdit>

// A read-only one-line edit whose text leaves it marked secret, so that clipboard histories keep no copy
// of it: copied (Ctrl+C, Ctrl+Insert, the context menu's "Kopieren") or selected (the primary selection
// of X11 and Wayland). Each copy is marked as it is made: the toolkit's own edit would put it there
// plain. It does not drag (the toolkit's default) and, read-only, neither cuts nor pastes.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    // Its text is drawn a character at a time, unshaped: a key is no text to typeset (no ligatures, no
    // kerning, which only make its characters harder to tell apart), and long keys show twice as fast.
    explicit TEdit(QWidget* Parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    // The selected text, marked, to the clipboard or the selection; nothing when none is selected or the
    // system has no such selection.
    void CopySelection(QClipboard::Mode Mode) const;
    // Moves the cursor or the selection as the key asks; false for any other key.
    bool MoveOrSelect(const QKeyEvent* Event);
};
