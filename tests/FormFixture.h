#pragma once

#include "form/Unit1.h"
#include "platform/TApplication.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>

// The main form as the program creates it, reading the settings file the last one left.
inline void ReopenMainForm() {
    static_cast<TApplication*>(qApp)->CreateForm(Form1);
}

// The main form of a first run: no settings file.
inline void CreateMainForm() {
    QFile::remove(QStringLiteral("Zadrin.ini"));
    ReopenMainForm();
}

inline QCheckBox* Box(int Number) {
    return Form1->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(Number));
}

inline QList<int> Range(int First, int Last) {
    QList<int> numbers;
    for (int n = First; n <= Last; ++n)
        numbers.append(n);
    return numbers;
}

inline QList<int> AllCharacterBoxes() {
    return Range(TForm1::FirstCharacterBox, TForm1::LastCharacterBox);
}

inline void SetCharacterBoxes(bool Checked) {
    for (int n : AllCharacterBoxes())
        Box(n)->setChecked(Checked);
}

// Exactly these character boxes checked.
inline void CheckOnly(const QList<int>& Numbers) {
    SetCharacterBoxes(false);
    for (int n : Numbers)
        Box(n)->setChecked(true);
}

// The numbers of the character boxes that are checked, ascending.
inline QList<int> CheckedBoxes() {
    QList<int> numbers;
    for (int n : AllCharacterBoxes())
        if (Box(n)->isChecked())
            numbers.append(n);
    return numbers;
}

// The history's lines as a user sees them: a last line break ends the last line.
inline QStringList Lines(const QPlainTextEdit* Memo) {
    QStringList lines = Memo->toPlainText().split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

inline constexpr int Compact = TForm1::CompactWidth;
inline constexpr int Expanded = TForm1::ExpandedWidth;
