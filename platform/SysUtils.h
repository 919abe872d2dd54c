#pragma once

#include <QString>

// Decimal text without leading zeros.
QString IntToStr(int Value);

// An optional sign and decimal digits, with spaces and tabs around them allowed, as a signed 32-bit number.
// Throws EConvertError, whose message names the text, for anything else and for numbers out of range.
int StrToInt(const QString& Text);
