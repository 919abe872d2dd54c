#pragma once

#include "platform/CharacterLine.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QLineEdit>
#include <optional>

// A read-only one-line edit whose text leaves it marked secret, so that clipboard histories keep no copy
// of it: copied (Ctrl+C, Ctrl+Insert, the context menu's "Kopieren") or selected (the primary selection
// of X11 and Wayland). Each copy is marked as it is made: the toolkit's own edit would put it there
// plain. It does not drag (the toolkit's default) and, read-only, neither cuts nor pastes.
// It looks and scrolls as the toolkit's edit does, but paints only the characters in view: the toolkit's
// edit measures and draws the whole line at every paint, a second and more for a key of ten million
// characters. Its text is one that stands a character at a time (see CharacterLine): a key.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    // Its text is drawn a character at a time, unshaped: a key is no text to typeset (no ligatures, no
    // kerning, which only make its characters harder to tell apart), and long keys show twice as fast.
    explicit TEdit(QWidget* Parent = nullptr);

protected:
    void changeEvent(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void timerEvent(QTimerEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    // The selected text, marked, to the clipboard or the selection; nothing when none is selected or the
    // system has no such selection.
    void CopySelection(QClipboard::Mode Mode) const;
    // Moves the cursor or the selection as the key asks; false for any other key.
    bool MoveOrSelect(const QKeyEvent* Event);

    // What the line's look depends on besides the place of each character, found once per text.
    struct LineMetrics {
        qint64 Width; // in 1/64 pixel
        int Height;   // of the line's glyphs, at least the font's height
        qreal Ascent; // the line's, from its highest font
        bool RightToLeft;
    };
    const LineMetrics& Metrics();
    // Event as the toolkit's edit must get it to find the character under the mouse: it finds it
    // with a scroll offset that only its own painting sets, which therefore stays 0.
    QMouseEvent Scrolled(const QMouseEvent* Event, int Down = 0) const;

    CharacterLine Characters;
    std::optional<LineMetrics> Measured;
    int Scroll = 0;          // how far the line is scrolled left, kept as the toolkit's edit keeps it
    QBasicTimer TripleClick; // runs from a double click for as long as a third click selects all
    QPoint TripleClickAt;
};
