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

inline QList<int> AllCharacterBoxes() {
    QList<int> numbers;
    for (int n = 5; n <= 105; ++n)
        numbers.append(n);
    return numbers;
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
