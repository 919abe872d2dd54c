#pragma once

#include <QString>

// Hands the text to the desktop's "open" action, read the way a user typing it into a browser means
// it ("example.org" is a web address). The outcome is ignored: a failure shows nothing.
void ShellOpen(const QString& Text);
