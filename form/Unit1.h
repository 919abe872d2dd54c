#pragma once

#include "platform/TForm.h"
#include "ui_Unit1.h"

#include <QPointer>
#include <initializer_list>

class QCheckBox;

// The main window. Its controls are its only data: every handler reads them afresh.
class TForm1 : public TForm, public Ui::TForm1 {
    Q_OBJECT
public:
    // The character boxes are numbered from FirstCharacterBox to LastCharacterBox, after the four
    // category boxes.
    static constexpr int FirstCharacterBox = 5;
    static constexpr int LastCharacterBox = 105;
    // The two widths the program sets. A window dragged wider than 498 counts as expanded too.
    static constexpr int CompactWidth = 205;
    static constexpr int ExpandedWidth = 500;
    static constexpr bool IsExpanded(int Width) { return Width > 498; }

    TForm1();

    void FormCreate(QObject* Sender);
    void FormClose(QObject* Sender, TCloseAction& Action);

    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void Label1Click(QObject* Sender);

    void CheckBox1Click(QObject* Sender);
    void CheckBox2Click(QObject* Sender);
    void CheckBox3Click(QObject* Sender);
    void CheckBox4Click(QObject* Sender);

protected:
    void BindHandlers() override;
    void DoCreate() override { FormCreate(this); }
    void DoClose(TCloseAction& Action) override { FormClose(this, Action); }

private:
    // The character box with that number, found by its name.
    QCheckBox* CharacterBox(int Number) const;
    // The character of each checked character box, in ascending box number.
    QString CheckedCharacters() const;
    // A key of Length characters drawn from the checked characters.
    static QString DrawKey(int Length, QStringView Checked);
    // The character of one of the Count checked boxes, each with probability 1 / Count.
    static QChar PickCharacter(int Count, QStringView Checked);

    // Sets each member, in order, to the category box's state as it is just then.
    static void SetMembers(const QCheckBox* Category, std::initializer_list<QCheckBox*> Members);
};

extern QPointer<TForm1> Form1;
