#pragma once

#include <QPlainTextEdit>

// A memo whose text leaves it marked secret: copied, cut, selected (X11) or dragged, clipboard
// histories keep no copy of it.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override;
};
