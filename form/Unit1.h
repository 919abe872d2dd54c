#pragma once

#include "TForm.h"
#include "ui_Unit1.h"

#include <initializer_list>

class QCheckBox;

// The main window. Its controls are its only data: every handler reads them afresh.
class TForm1 : public TForm, public Ui::TForm1 {
    Q_OBJECT
public:
    TForm1();

    void FormCreate(QObject* Sender);
    void FormClose(QObject* Sender, TCloseAction& Action);

    void CheckBox1Click(QObject* Sender);
    void CheckBox2Click(QObject* Sender);
    void CheckBox3Click(QObject* Sender);
    void CheckBox4Click(QObject* Sender);

protected:
    void BindHandlers() override;
    void DoCreate() override { FormCreate(this); }
    void DoClose(TCloseAction& Action) override { FormClose(this, Action); }

private:
    // Sets each member, in order, to the category box's state as it is just then.
    static void SetMembers(const QCheckBox* Category, std::initializer_list<QCheckBox*> Members);
};

extern TForm1* Form1;
