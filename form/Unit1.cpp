#include "form/Unit1.h"

#include "form/KeyLength.h"
#include "form/KeyStrength.h"
#include "platform/Exception.h"
#include "platform/Memo.h"
#include "platform/Memory.h"
#include "platform/Random.h"
#include "platform/Secrecy.h"
#include "platform/Shell.h"
#include "platform/SysUtils.h"
#include "platform/TIniFile.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScopeGuard>

QPointer<TForm1> Form1;

namespace {
// The settings file in the working directory of the moment.
const QString settingsFile = QStringLiteral(".\\Zadrin.ini");
} // namespace

TForm1::TForm1() {
    setupUi(this);
    IndexComponents();
    // Designed for "MS Sans Serif" 11 pixels high (Windows has it). Where it is missing, Liberation Sans
    // stands in, narrowed a little so that every caption fits as designed. It comes inside the program: other
    // fonts cut captions, and an install cannot be relied on to have it.
    static const int standIn =
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    Q_UNUSED(standIn);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    SetFontSize(11, 100);
    if (QFontInfo(font()).family() != u"MS Sans Serif") // the stand-in, not the system's own font
        SetFontSize(11, 94);
    // Keys have no word boundaries: break anywhere, or wrapping a long key takes minutes.
    Memo1->setWordWrapMode(QTextOption::WrapAnywhere);
}

void TForm1::BindHandlers() {
    Bind(Button1, &QPushButton::clicked, [this] { Button1Click(Button1); });
    connect(LabeledEdit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
    Bind(Button2, &QPushButton::clicked, [this] { Button2Click(Button2); });
    Bind(Button3, &QPushButton::clicked, [this] { Button3Click(Button3); });
    Bind(Button4, &QPushButton::clicked, [this] { Button4Click(Button4); });
    Bind(Label1, &TLabel::clicked, [this] { Label1Click(Label1); });
    Bind(CheckBox1, &QCheckBox::toggled, [this] { CheckBox1Click(CheckBox1); });
    Bind(CheckBox2, &QCheckBox::toggled, [this] { CheckBox2Click(CheckBox2); });
    Bind(CheckBox3, &QCheckBox::toggled, [this] { CheckBox3Click(CheckBox3); });
    Bind(CheckBox4, &QCheckBox::toggled, [this] { CheckBox4Click(CheckBox4); });
}

QCheckBox* TForm1::CharacterBox(int Number) const {
    return static_cast<QCheckBox*>(FindComponent(QStringLiteral("CheckBox") + IntToStr(Number)));
}

QString TForm1::CheckedCharacters() const {
    QString checked;
    for (int number = FirstCharacterBox; number <= LastCharacterBox; ++number)
        if (const QCheckBox* box = CharacterBox(number); box->isChecked())
            checked.append(box->text().front()); // "&&" shows, and stands for, one "&"
    return checked;
}

QChar TForm1::PickCharacter(int Count, QStringView Checked) {
    return Checked[RandInt(Count)];
}

QString TForm1::DrawKey(int Length, QStringView Checked) {
    if (Length <= 0)
        return {};
    if (Checked.isEmpty())
        throw Exception(QStringLiteral("Es ist kein Zeichen angekreuzt. Bitte mindestens ein Zeichen "
                                       "auswählen, aus dem der Key bestehen soll."));
    QString key(Length, Qt::Uninitialized);
    KeepOutOfSwap(key.constData(), key.size() * qsizetype(sizeof(QChar)));
    for (QChar& c : key)
        c = PickCharacter(int(Checked.size()), Checked);
    return key;
}

void TForm1::Button1Click(QObject*) {
    // A long key takes seconds: the busy pointer shows until it is shown, or the error is.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    // Read once for all draws: no handler can change the selection between the draws of one key.
    const QString checked = CheckedCharacters();
    const int length = StrToInt(LabeledEdit1->text());
    if (const QString problem = KeyLengthProblem(length, AvailableMemory()); !problem.isEmpty())
        throw Exception(problem);
    // The key is complete before anything shows it: an error leaves key field and history as they were.
    const QString key = DrawKey(length, checked);
    LabeledEdit2->setText(key);
    const QString strength = KeyStrengthText(key.size(), checked.size());
    LabeledEdit2->setToolTip(strength);
    LabeledEdit2->setAccessibleDescription(strength);
    AppendLine(Memo1, key);
}

void TForm1::Button2Click(QObject*) {
    close();
}

void TForm1::Button3Click(QObject*) {
    Memo1->clear();
}

// Decides from the width alone: a window dragged to 450 wide widens, one at 499 narrows.
void TForm1::Button4Click(QObject*) {
    Form1->SetWidth(IsExpanded(Form1->Width()) ? CompactWidth : ExpandedWidth);
}

void TForm1::Label1Click(QObject*) {
    ShellOpen(Label1->text());
}

void TForm1::FormCreate(QObject*) {
    Randomize();

    QString selection;
    {
        const TIniFile Ini(settingsFile);
        selection = Ini.ReadString("CheckBox", "Wert", "");
        Form1->SetWidth(Ini.ReadString("Option", "KG", "K") == u"G" ? ExpandedWidth : CompactWidth);
        LabeledEdit1->setText(Ini.ReadString("Option", "L", "8"));
    }

    // Through the category boxes: unchecking all four clears the grid before the saved boxes are set.
    const bool saved = !selection.isEmpty();
    for (QCheckBox* category : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        category->setChecked(!saved);
    if (saved)
        for (int p = 0; p < selection.size() && FirstCharacterBox + p <= LastCharacterBox; ++p)
            if (selection[p] == u'T')
                CharacterBox(FirstCharacterBox + p)->setChecked(true);
}

void TForm1::FormClose(QObject*, TCloseAction&) {
    // Keys are no settings: once these are saved (or failed to be), nothing of them outlives the window.
    const auto forgetKeys = qScopeGuard([this] {
        LabeledEdit2->clear();
        Memo1->clear();
    });
    TIniFile Ini(settingsFile);
    QString selection;
    for (int number = FirstCharacterBox; number <= LastCharacterBox; ++number)
        selection.append(CharacterBox(number)->isChecked() ? u'T' : u'F');
    Ini.WriteString("CheckBox", "Wert", selection);
    Ini.WriteString("Option", "KG", IsExpanded(Form1->Width()) ? "G" : "K");
    Ini.WriteString("Option", "L", LabeledEdit1->text());
    Ini.UpdateFile();
}

void TForm1::SetMembers(const QCheckBox* Category, std::initializer_list<QCheckBox*> Members) {
    for (QCheckBox* member : Members)
        member->setChecked(Category->isChecked());
}

void TForm1::CheckBox1Click(QObject*) {
    SetMembers(CheckBox1, {CheckBox5,  CheckBox6,  CheckBox7,   CheckBox8,   CheckBox9,   CheckBox10,
                           CheckBox11, CheckBox12, CheckBox13,  CheckBox14,  CheckBox15,  CheckBox16,
                           CheckBox17, CheckBox18, CheckBox19,  CheckBox20,  CheckBox21,  CheckBox22,
                           CheckBox23, CheckBox24, CheckBox25,  CheckBox26,  CheckBox27,  CheckBox28,
                           CheckBox29, CheckBox30, CheckBox102, CheckBox103, CheckBox104, CheckBox105});
}

void TForm1::CheckBox2Click(QObject*) {
    SetMembers(CheckBox2, {CheckBox41, CheckBox42, CheckBox43, CheckBox44,  CheckBox45, CheckBox46,
                           CheckBox47, CheckBox48, CheckBox49, CheckBox50,  CheckBox51, CheckBox52,
                           CheckBox53, CheckBox54, CheckBox55, CheckBox56,  CheckBox57, CheckBox58,
                           CheckBox59, CheckBox60, CheckBox61, CheckBox62,  CheckBox63, CheckBox64,
                           CheckBox65, CheckBox66, CheckBox99, CheckBox100, CheckBox101});
}

void TForm1::CheckBox3Click(QObject*) {
    SetMembers(CheckBox3, {CheckBox31, CheckBox32, CheckBox33, CheckBox34, CheckBox35, CheckBox36, CheckBox37,
                           CheckBox38, CheckBox39, CheckBox40});
}

void TForm1::CheckBox4Click(QObject*) {
    SetMembers(CheckBox4, {CheckBox67, CheckBox68, CheckBox69, CheckBox70, CheckBox71, CheckBox72, CheckBox73,
                           CheckBox74, CheckBox75, CheckBox76, CheckBox77, CheckBox78, CheckBox79, CheckBox80,
                           CheckBox81, CheckBox82, CheckBox83, CheckBox84, CheckBox85, CheckBox86, CheckBox87,
                           CheckBox88, CheckBox89, CheckBox90, CheckBox91, CheckBox92, CheckBox93, CheckBox94,
                           CheckBox95, CheckBox96, CheckBox97, CheckBox98});
}
