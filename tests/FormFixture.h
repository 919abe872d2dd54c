#pragma once

#include "TApplication.h"
#include "Unit1.h"

#include <QCheckBox>

#include <QFile>

// The main form as the program creates it, reading the settings file the last one left.
inline void ReopenMainForm() {
    static_cast<TApplication*>(qApp)->CreateForm(Form1);
}

// The main form of a first run: no settings file.
inline void CreateMainForm() {
    QFile::remove(QStringLiteral("Zadrin.ini"));
    ReopenMainForm();
}

// Lookups by box number for the checks.

inline QCheckBox* Box(int Number) {
    return Form1->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(Number));
}

inline void SetCharacterBoxes(bool Checked) {
    for (int n = 5; n <= 105; ++n)
        Box(n)->setChecked(Checked);
}

inline QList<int> Range(int First, int Last) {
    QList<int> numbers;
    for (int n = First; n <= Last; ++n)
        numbers.append(n);
    return numbers;
}

inline QList<int> AllCharacterBoxes() {
    return Range(5, 105);
}

// Exactly these character boxes checked.
inline void CheckOnly(const QList<int>& Numbers) {
    SetCharacterBoxes(false);
    for (int n : Numbers)
        Box(n)->setChecked(true);
}

// Lookups by box number for the checks.

// The numbers of the character boxes that are checked, ascending.
inline QList<int> CheckedBoxes() {
    QList<int> numbers;
    for (int n = 5; n <= 105; ++n)
        if (Box(n)->isChecked())
            numbers.append(n);
    return numbers;
}
