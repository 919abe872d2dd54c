#include "platform/Memo.h"

#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void AppendLine(QPlainTextEdit* Memo, const QString& Text) {
    // A line that overflows the memo brings up its scroll bar, which narrows the text and lays out
    // every line again: for a long key as much work as the key itself. With the bar there while the
    // line is added, the line is laid out once, at the width it keeps; the bar goes again if the
    // memo does not overflow after all (its few lines are laid out again then).
    const Qt::ScrollBarPolicy policy = Memo->verticalScrollBarPolicy();
    if (policy == Qt::ScrollBarAsNeeded)
        Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const auto restorePolicy = qScopeGuard([Memo, policy] { Memo->setVerticalScrollBarPolicy(policy); });
    QTextCursor end(Memo->document());
    end.movePosition(QTextCursor::End);
    // Text typed by the user after the last line break is a line of its own: end it first.
    const bool lastLineOpen = !end.block().text().isEmpty();
    end.insertText(lastLineOpen ? u'\n' + Text + u'\n' : Text + u'\n');
    // The caret follows, so the newest line is in view.
    Memo->setTextCursor(end);
}
