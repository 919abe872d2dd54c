#pragma once

class QPlainTextEdit;
class QString;

// A memo holds lines, each ended by a line break, as a user sees them; text typed after the last
// break is a last line too.

// Adds the text as a new last line; an empty text adds an empty line.
void AppendLine(QPlainTextEdit* Memo, const QString& Text);
