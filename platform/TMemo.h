#pragma once

#include <QPlainTextEdit>

// A memo whose text leaves it marked secret: copied, cut, selected (X11) or dragged, clipboard
// histories keep no copy of it.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    // Its text is drawn a character at a time, unshaped: a key is no text to typeset (no ligatures, no
    // kerning, which only make its characters harder to tell apart), and long keys show twice as fast.
    explicit TMemo(QWidget* Parent = nullptr);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};
