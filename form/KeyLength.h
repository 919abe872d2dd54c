#pragma once

#include <QString>

// The longest key the key field and the history show: beyond some 100 million characters the
// toolkit's text layout fails and shows garbage or crashes. 50 million was seen to work (in 52 s).
inline constexpr int LongestShownKey = 50'000'000;

// Making and showing a key takes about this many bytes a character (80 measured, with the text layout
// of key field and history).
inline constexpr qint64 BytesPerShownCharacter = 100;

// Why a key of Length characters cannot be made and shown, with Available bytes of memory free
// (-1: not known); empty when it can. A key that needs more memory than is free would end in the
// system killing the program, its settings unsaved.
QString KeyLengthProblem(int Length, qint64 Available);
