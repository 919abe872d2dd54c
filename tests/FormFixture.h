#pragma once

#include "TApplication.h"
#include "Unit1.h"

#include <QCheckBox>

// A fresh main form as the program creates it, and lookups by box number for the checks.
inline void CreateMainForm() {
    static_cast<TApplication*>(qApp)->CreateForm(Form1);
}

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

// The numbers of the character boxes that are checked, ascending.
inline QList<int> CheckedBoxes() {
    QList<int> numbers;
    for (int n = 5; n <= 105; ++n)
        if (Box(n)->isChecked())
            numbers.append(n);
    return numbers;
}
