// The window against its design tables: every control's name, place, text, state and tab order,
// and the grid of 101 character boxes, as the layout builds them before any handler runs.
#include "TestMain.h"
#include "form/Unit1.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>

namespace {
struct Run {
    int firstBox;
    QList<char16_t> characters;
    int x;
    int firstRow;
};

QList<char16_t> Codes(char16_t first, char16_t last) {
    QList<char16_t> codes;
    for (char16_t c = first; c <= last; ++c)
        codes.append(c);
    return codes;
}

// The character grid: runs of boxes whose numbers, characters and rows rise together.
const QList<Run>& Grid() {
    static const QList<Run> runs = {
        {5, Codes(0x61, 0x6D), 392, 0},
        {18, Codes(0x6E, 0x7A), 424, 0},
        {31, Codes(0x30, 0x39), 232, 0},
        {41, Codes(0x41, 0x4D), 296, 0},
        {54, Codes(0x4E, 0x5A), 328, 0},
        {67, {0x7E}, 456, 3},
        {68, Codes(0x21, 0x2F), 200, 0},
        {83, Codes(0x3A, 0x40), 264, 0},
        {90, Codes(0x5B, 0x60), 360, 0},
        {96, Codes(0x7B, 0x7D), 456, 0},
        {99, {0xC4, 0xD6, 0xDC}, 296, 13},
        {102, {0xE4, 0xF6, 0xFC}, 392, 13},
        {105, {0xDF}, 424, 15},
    };
    return runs;
}

const QStringList& TabOrder() {
    static const QStringList order = [] {
        QStringList names = {"Button1",   "Button2",   "LabeledEdit1", "LabeledEdit2", "CheckBox1",
                             "CheckBox3", "CheckBox4", "CheckBox2",    "Memo1",        "Button3"};
        for (int n = TForm1::FirstCharacterBox; n <= TForm1::LastCharacterBox; ++n)
            if (n != 67)
                names.append(QStringLiteral("CheckBox%1").arg(n));
        names << "CheckBox67"
              << "Button4";
        return names;
    }();
    return order;
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> form;

    QCheckBox* BoxOf(int Number) const {
        return form->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(Number));
    }

private slots:
    void init() { form = std::make_unique<TForm1>(); }

    void window() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(form->Width(), 500);
        QCOMPARE(form->Height(), 450);
        QCOMPARE(form->MinWidth(), 205);
        QCOMPARE(form->MaxWidth(), 500);
        QCOMPARE(form->MinHeight(), 450);
        QCOMPARE(form->MaxHeight(), 450);
        QCOMPARE(form->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(form->font().pixelSize(), 11);
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label1") << "Label1" << QRect(16, 400, 82, 13) << "zadrin.example";
        QTest::newRow("Button1") << "Button1" << QRect(120, 8, 75, 57) << "Key erzeugen";
        QTest::newRow("Button2") << "Button2" << QRect(120, 96, 75, 17) << "&beenden";
        QTest::newRow("LabeledEdit1") << "LabeledEdit1" << QRect(8, 120, 57, 21) << "8";
        QTest::newRow("LabeledEdit2") << "LabeledEdit2" << QRect(72, 120, 121, 21) << "";
        QTest::newRow("CheckBox1") << "CheckBox1" << QRect(8, 8, 97, 17) << "buchstaben";
        QTest::newRow("CheckBox3") << "CheckBox3" << QRect(8, 56, 97, 17) << "Zahlen";
        QTest::newRow("CheckBox4") << "CheckBox4" << QRect(8, 80, 97, 17) << "Sonderzeichen";
        QTest::newRow("CheckBox2") << "CheckBox2" << QRect(8, 32, 97, 17) << "BUCHSTABEN";
        QTest::newRow("Memo1") << "Memo1" << QRect(8, 144, 185, 249) << "";
        QTest::newRow("Button3") << "Button3" << QRect(120, 72, 33, 17) << "clear";
        QTest::newRow("Button4") << "Button4" << QRect(160, 72, 33, 17) << "Opt.";
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        auto* control = qobject_cast<QWidget*>(form->FindComponent(name));
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->parentWidget(), form.get());
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->property(control->inherits("QPlainTextEdit") ? "plainText" : "text").toString(),
                 text);
        if (auto* box = qobject_cast<QCheckBox*>(control))
            QVERIFY(box->isChecked() && !box->isTristate());
    }

    void editsAndTheirLabels() {
        auto* lengthLabel = form->findChild<QLabel*>("LabeledEdit1Label");
        auto* keyLabel = form->findChild<QLabel*>("LabeledEdit2Label");
        QVERIFY(lengthLabel && keyLabel);
        QCOMPARE(lengthLabel->text(), QStringLiteral("Stellenzahl"));
        QCOMPARE(lengthLabel->geometry(), QRect(8, 120 - 3 - 13, 51, 13));
        QCOMPARE(lengthLabel->buddy(), form->LabeledEdit1);
        QCOMPARE(keyLabel->text(), QStringLiteral("Key"));
        QCOMPARE(keyLabel->geometry(), QRect(72, 120 - 3 - 13, 18, 13));
        QCOMPARE(keyLabel->buddy(), form->LabeledEdit2);

        QVERIFY(!form->LabeledEdit1->isReadOnly());
        QVERIFY(form->LabeledEdit2->isReadOnly());
        QVERIFY(!form->Memo1->isReadOnly());
        // A key of any length must fit the key field whole.
        QCOMPARE(form->LabeledEdit2->maxLength(), std::numeric_limits<int>::max());
        QVERIFY(form->Label1->font().underline());
    }

    void characterGrid() {
        int boxes = 0;
        for (const Run& run : Grid()) {
            for (int i = 0; i < run.characters.size(); ++i, ++boxes) {
                const int number = run.firstBox + i;
                QCheckBox* box = BoxOf(number);
                QVERIFY2(box, qPrintable(QString::number(number)));
                QCOMPARE(form->FindComponent(QStringLiteral("CheckBox%1").arg(number)), box);
                const QString expected =
                    run.characters[i] == u'&' ? QStringLiteral("&&") : QString(QChar(run.characters[i]));
                QCOMPARE(box->text(), expected);
                QCOMPARE(box->geometry(), QRect(run.x, 8 + 24 * (run.firstRow + i), 30, 17));
                QVERIFY(box->isChecked());
            }
        }
        QCOMPARE(boxes, 101);
        QCOMPARE(BoxOf(73)->text(), QStringLiteral("&&"));
        QCOMPARE(BoxOf(105)->text(), QString(QChar(0xDF)));
        QCOMPARE(BoxOf(4)->text(), QStringLiteral("Sonderzeichen"));
        QCOMPARE(BoxOf(106), nullptr);
    }

    void everyCharacterOnce() {
        // The 32 printable ASCII characters that are neither letters nor digits, each exactly once.
        QString seen;
        for (int n = TForm1::FirstCharacterBox; n <= TForm1::LastCharacterBox; ++n)
            seen.append(BoxOf(n)->text().left(1));
        QCOMPARE(QSet<QChar>(seen.begin(), seen.end()).size(), 101);
        for (char16_t c = 0x21; c < 0x7F; ++c)
            QVERIFY2(seen.contains(QChar(c)), qPrintable(QString(QChar(c))));
    }

    void tabOrder() {
        QStringList chain;
        QWidget* w = form->Button1;
        do {
            if (w->parentWidget() == form.get() && (w->focusPolicy() & Qt::TabFocus))
                chain.append(w->objectName());
            w = w->nextInFocusChain();
        } while (w != form->Button1);
        QCOMPARE(chain, TabOrder());
    }

    void tabVisitsOnlyWhatTheWindowShows_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("expanded") << TForm1::ExpandedWidth << TabOrder();
        const QStringList compact = TabOrder().first(10) << QStringLiteral("Button4");
        QTest::newRow("compact") << TForm1::CompactWidth << compact;
        QTest::newRow("dragged to 300")
            << 300
            << compact.first(10) + (TabOrder().mid(10, 101).filter(
                                        QRegularExpression("^CheckBox(6[89]|7\\d|8[0-2]|3[1-9]|40|8[3-9])$"))
                                    << "Button4");
    }

    void tabVisitsOnlyWhatTheWindowShows() {
        // Tab pressed from "Key erzeugen" until it comes round: every stop lies in the client area.
        QFETCH(int, width);
        QFETCH(QStringList, stops);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->SetWidth(width);
        form->Button1->setFocus();
        QStringList visited;
        do {
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused && focused->isVisible());
            QVERIFY2(form->rect().intersects(focused->geometry()), qPrintable(focused->objectName()));
            visited.append(focused->objectName());
            QTest::keyClick(focused, Qt::Key_Tab);
        } while (QApplication::focusWidget() != form->Button1 && visited.size() < 300);
        QCOMPARE(visited, stops);

        // And back with Shift+Tab, the same stops the other way round.
        QStringList back;
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back.prepend(QApplication::focusWidget()->objectName());
        } while (QApplication::focusWidget() != form->Button1 && back.size() < 300);
        QCOMPARE(back, stops);
    }

    void theWindowAndTheLinkAsAssistiveTechnologySeesThem() {
        // As a screen reader meets it: shown (the toolkit names a window by its title only then, since 6.10).
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Form1"));
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(form->Label1);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), QStringLiteral("zadrin.example"));
        QVERIFY(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QVERIFY(!(form->Label1->focusPolicy() & Qt::TabFocus)); // no tab stop of its own
    }

    void componentsAreFoundByName() {
        QCOMPARE(form->FindComponent("Button1"), form->Button1);
        QCOMPARE(form->FindComponent("Memo1"), form->Memo1);
        QCOMPARE(form->FindComponent("CheckBox0"), nullptr);
        QCOMPARE(form->FindComponent("CheckBox05"), nullptr);
        QCOMPARE(form->FindComponent("checkbox5"), nullptr);
    }

    void everyControlHasANameToSpeak() {
        // Focusable controls must not sound alike: names unique ignoring case.
        QSet<QString> spoken;
        for (QWidget* control : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->focusPolicy() & Qt::TabFocus) {
                const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
                QVERIFY2(!spoken.contains(name.toLower()), qPrintable(name));
                spoken.insert(name.toLower());
            }
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Button4)->text(QAccessible::Name),
                 QStringLiteral("Opt. – Zeichentabelle ein- oder ausblenden"));

        QSet<QString> boxNames;
        for (QWidget* control : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(accessible);
            const QString name = accessible->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
            if (control->objectName().startsWith("CheckBox") && control->objectName().mid(8).toInt() >= 5)
                boxNames.insert(name);
        }
        QCOMPARE(boxNames.size(), 101); // every character box says which character it is
        QCOMPARE(BoxOf(73)->accessibleName(), QStringLiteral("Kaufmanns-Und"));
        QCOMPARE(BoxOf(105)->accessibleName(), QStringLiteral("kleines ß"));
        QCOMPARE(BoxOf(5)->accessibleName(), QStringLiteral("kleines a"));
        QCOMPARE(BoxOf(41)->accessibleName(), QStringLiteral("großes A"));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->LabeledEdit1)->text(QAccessible::Name),
                 QStringLiteral("Stellenzahl"));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->Button2)->text(QAccessible::Name),
                 QStringLiteral("beenden"));
    }

    void everyNameHoldsWhatTheControlShows() {
        // Speech input: "click clear" must find "clear". A label's text (without its "&") is in the name of
        // the control it labels; punctuation is a symbol, spoken by its name alone.
        for (QWidget* control : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QString shown;
            if (const auto* button = qobject_cast<QAbstractButton*>(control))
                shown = button->text();
            else if (const auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
                shown = label->text(), control = label->buddy();
            shown.remove(QRegularExpression("&(?!&)"));
            if (shown.isEmpty() || !shown.front().isLetterOrNumber())
                continue;
            const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            QVERIFY2(name.contains(shown), qPrintable(name + " lacks " + shown));
        }
    }

    void textFitsItsBox() {
        // The stand-in font must fit every caption: box, gap and text within the designed width.
        const auto fits = [](const QCheckBox* box) {
            const QStyle* style = box->style();
            const QString shown = box->text() == QLatin1String("&&") ? QStringLiteral("&") : box->text();
            const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                              style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
                              box->fontMetrics().horizontalAdvance(shown);
            return width <= box->width() && box->fontMetrics().height() <= box->height();
        };
        for (int n = 1; n <= 105; ++n)
            QVERIFY2(fits(BoxOf(n)), qPrintable(BoxOf(n)->text()));
        for (QLabel* label : form->findChildren<QLabel*>())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
        // The font measured is the one shipped inside the program, whatever the system has.
        QCOMPARE(QFontInfo(form->CheckBox1->font()).family(), QStringLiteral("Liberation Sans"));
    }

    void keysAreDrawnCharacterByCharacter() {
        // Unshaped, as wide as its characters one by one: no kerning ("AV", "To") and no ligature ("fi"),
        // in the window's font.
        const QString key = QStringLiteral("AVToWAfiffLTYo");
        for (const QWidget* control :
             {static_cast<QWidget*>(form->LabeledEdit2), static_cast<QWidget*>(form->Memo1)}) {
            QCOMPARE(QFontInfo(control->font()).family(), QStringLiteral("Liberation Sans"));
            const QFontMetricsF metrics(control->font());
            qreal oneByOne = 0;
            for (QChar c : key)
                oneByOne += metrics.horizontalAdvance(c);
            QCOMPARE(metrics.horizontalAdvance(key), oneByOne);
        }
    }
};

ZADRIN_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
