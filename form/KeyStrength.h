#pragma once

#include <QString>

// How strong a key is, from how it was made: Length characters, each drawn uniformly from Count,
// give Length × log2(Count) bits, e.g. "Stärke: 52,4 Bit (8 Zeichen aus 94)". Empty for an empty key.
QString KeyStrengthText(qsizetype Length, qsizetype Count);
