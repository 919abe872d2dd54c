#include "platform/Memo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void AppendLine(QPlainTextEdit* Memo, const QString& Text) {
    QTextCursor end(Memo->document());
    end.movePosition(QTextCursor::End);
    // Text typed by the user after the last line break is a line of its own: end it first.
    const bool lastLineOpen = !end.block().text().isEmpty();
    end.insertText(lastLineOpen ? u'\n' + Text + u'\n' : Text + u'\n');
    // The caret follows, so the newest line is in view.
    Memo->setTextCursor(end);
}
