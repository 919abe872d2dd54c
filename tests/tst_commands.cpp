// The window's commands: quit, clear the history, switch the width, open the link.
#include "FormFixture.h"
#include "TestMain.h"
#include "platform/Clipboard.h"
#include "platform/Memo.h"
#include "platform/TEdit.h"

#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMetaEnum>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>
#include <QWindow>

namespace {
// Receives what the desktop would be asked to open, so that no browser starts.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~OpenedUrls() override {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& Url) { urls.append(Url); }
};

// Every change of the clipboard, looked at as it is made: its text, and whether it carried the marks.
class ClipboardChanges : public QObject {
public:
    ClipboardChanges() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        connect(clipboard, &QClipboard::changed, this, [this, clipboard](QClipboard::Mode Mode) {
            const QMimeData* data = clipboard->mimeData(Mode);
            bool marked = data != nullptr;
            for (const auto& [format, bytes] : SecretMarks()) // a system may round a block up
                marked = marked && data->data(format).startsWith(bytes);
            changes.append({data ? data->text() : QString(), marked});
            modes.append(Mode);
        });
    }
    QList<std::pair<QString, bool>> changes;
    QList<QClipboard::Mode> modes;
};

// Copies the selected text as a user does: a copy key or the context menu's "Kopieren".
void CopyFrom(QWidget* Edit, const QString& Way) {
    if (Way != u"Kopieren") {
        QTest::keyClick(Edit, Way == u"Ctrl+C" ? Qt::Key_C : Qt::Key_Insert, Qt::ControlModifier);
        return;
    }
    auto* scrolled = qobject_cast<QAbstractScrollArea*>(Edit); // the history takes clicks in its viewport
    QWidget* clicked = scrolled ? scrolled->viewport() : Edit;
    QContextMenuEvent opening(QContextMenuEvent::Mouse, QPoint(5, 5), clicked->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(clicked, &opening);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    const auto copy = std::find_if(actions.begin(), actions.end(),
                                   [](const QAction* a) { return a->text().startsWith(u"&Kopieren"); });
    QVERIFY(copy != actions.end());
    QVERIFY((*copy)->isEnabled());
    (*copy)->trigger();
    menu->close();
}

// What a user does to a one-line edit, done alike to the key field and to the toolkit's own edit.
using Gesture = std::function<void(QLineEdit*)>;

// One key, pressed and released as a keyboard does; shortcuts are looked for first, as in the program.
Gesture Press(QKeyCombination Keys) {
    return [Keys](QLineEdit* Edit) { QTest::keyClick(Edit, Keys.key(), Keys.keyboardModifiers()); };
}

// Every binding of every standard key on this platform, each chord in turn, and then the keys a user may
// press by mistake (letters that edit elsewhere, Return, Escape, the arrows and pages) with every modifier.
QList<std::pair<QString, Gesture>> KeyGestures() {
    QList<std::pair<QString, Gesture>> gestures;
    const QMetaEnum standard = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < standard.keyCount(); ++i)
        for (const QKeySequence& binding :
             QKeySequence::keyBindings(QKeySequence::StandardKey(standard.value(i))))
            for (int chord = 0; chord < binding.count(); ++chord)
                gestures.append({QString::fromLatin1(standard.key(i)) + u' ' + binding.toString(),
                                 Press(binding[chord])});
    const Qt::Key keys[] = {
        Qt::Key_A,      Qt::Key_C,        Qt::Key_V,         Qt::Key_X,      Qt::Key_Z,      Qt::Key_Y,
        Qt::Key_Insert, Qt::Key_Delete,   Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space,
        Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,        Qt::Key_Down,   Qt::Key_Home,   Qt::Key_End,
        Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Tab,       Qt::Key_Backtab};
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier,
                                               Qt::ShiftModifier,
                                               Qt::ControlModifier,
                                               Qt::AltModifier,
                                               Qt::MetaModifier,
                                               Qt::ControlModifier | Qt::ShiftModifier,
                                               Qt::AltModifier | Qt::ShiftModifier,
                                               Qt::ControlModifier | Qt::AltModifier};
    for (const Qt::Key key : keys)
        for (const Qt::KeyboardModifiers modifier : modifiers)
            gestures.append({QKeySequence(QKeyCombination(modifier, key)).toString(),
                             Press(QKeyCombination(modifier, key))});
    return gestures;
}

// Where the gaps between characters are in view, left to right, as the toolkit's edit finds them: the
// places the mouse gestures go to, on both edits alike.
QList<QPoint> GapsInView(QLineEdit* Edit) {
    QList<QPoint> gaps;
    int last = -1;
    for (int x = 0; x < Edit->width(); ++x)
        if (const int gap = Edit->cursorPositionAt(QPoint(x, Edit->height() / 2)); gap != last) {
            gaps.append(QPoint(x + 1, Edit->height() / 2));
            last = gap;
        }
    return gaps;
}

// Clicks, double-, triple- and shift-clicks and a drag across characters, at the Gaps in view.
QList<std::pair<QString, Gesture>> MouseGestures(const QList<QPoint>& Gaps) {
    const auto At = [&Gaps](int Gap) { return Gaps.value(Gap, Gaps.value(0)); };
    const auto drag = [At](QLineEdit* Edit, int From, int To) {
        QTest::mousePress(Edit, Qt::LeftButton, {}, At(From));
        QMouseEvent moving(QEvent::MouseMove, At(To), Edit->mapToGlobal(At(To)), Qt::NoButton, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(Edit, &moving);
        QTest::mouseRelease(Edit, Qt::LeftButton, {}, At(To));
    };
    return {
        {"click", [At](QLineEdit* Edit) { QTest::mouseClick(Edit, Qt::LeftButton, {}, At(5)); }},
        {"double-click", [At](QLineEdit* Edit) { QTest::mouseDClick(Edit, Qt::LeftButton, {}, At(5)); }},
        {"triple-click",
         [At](QLineEdit* Edit) {
             QTest::mouseDClick(Edit, Qt::LeftButton, {}, At(5));
             QTest::mouseClick(Edit, Qt::LeftButton, {}, At(5));
         }},
        {"shift-click",
         [At](QLineEdit* Edit) { QTest::mouseClick(Edit, Qt::LeftButton, Qt::ShiftModifier, At(9)); }},
        {"drag forward", [drag](QLineEdit* Edit) { drag(Edit, 2, 10); }},
        {"drag backward", [drag](QLineEdit* Edit) { drag(Edit, 10, 1); }},
        {"middle click", [At](QLineEdit* Edit) { QTest::mouseClick(Edit, Qt::MiddleButton, {}, At(3)); }},
    };
}

// Opens the context menu and triggers its entry Index, if that entry can be chosen.
Gesture MenuEntry(int Index) {
    return [Index](QLineEdit* Edit) {
        const QPoint at(Edit->width() / 3, Edit->height() / 2);
        QContextMenuEvent opening(QContextMenuEvent::Mouse, at, Edit->mapToGlobal(at));
        QApplication::sendEvent(Edit, &opening);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        const QList<QAction*> actions = menu->actions();
        if (Index < actions.size() && actions[Index]->isEnabled() && !actions[Index]->isSeparator())
            actions[Index]->trigger();
        menu->close();
    };
}

// Where a user left the caret and selection: anchor and caret, as the edit keeps them.
struct Caret {
    int cursor, start, length;
    bool operator==(const Caret&) const = default;
};
Caret CaretOf(const QLineEdit* Edit) {
    return {Edit->cursorPosition(), Edit->selectionStart(), Edit->selectionLength()};
}

// Counts the close events the window gets: each runs the close handler once.
class CloseCounter : public QObject {
public:
    int closes = 0;
    bool eventFilter(QObject*, QEvent* Event) override {
        closes += Event->type() == QEvent::Close;
        return false;
    }
};
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init() {
        CreateMainForm();
        Form1->show();
        Form1->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Form1));
    }

    void optSwitchesTheWidth_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("compact widens") << Compact << Expanded;
        QTest::newRow("expanded narrows") << Expanded << Compact;
        QTest::newRow("498 widens") << 498 << Expanded;
        QTest::newRow("499 narrows") << 499 << Compact;
        QTest::newRow("dragged to 450 widens") << 450 << Expanded;
    }

    void optSwitchesTheWidth() {
        QFETCH(int, before);
        QFETCH(int, after);
        Form1->SetWidth(before);
        QCOMPARE(Form1->Width(), before);
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        QCOMPARE(Form1->Width(), after);
        QCOMPARE(Form1->Height(), 450);
    }

    void twoClicksComeBack() {
        Form1->SetWidth(Compact);
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        QCOMPARE(Form1->Width(), Compact);
    }

    void widthStaysWithinItsLimits() {
        Form1->SetWidth(100);
        QCOMPARE(Form1->Width(), Compact);
        Form1->SetWidth(800);
        QCOMPARE(Form1->Width(), Expanded);
    }

    void compactShowsTheLeftStripWholeAndHidesTheGrid() {
        Form1->SetWidth(Compact);
        QVERIFY(Form1->rect().contains(Form1->Memo1->geometry()));
        QVERIFY(Form1->rect().contains(Form1->Button1->geometry()));
        QVERIFY(!Form1->rect().intersects(Box(68)->geometry())); // the grid's first column, x = 200
        Form1->SetWidth(Expanded);
        for (int n : AllCharacterBoxes())
            QVERIFY(Form1->rect().contains(Box(n)->geometry()));
    }

    void tabLeavesTheHistory() {
        Form1->Memo1->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Form1->Button3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), Form1->Memo1);
        QCOMPARE(Form1->Memo1->toPlainText(), QString());
    }

    void returnPressesTheFocusedButton_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter);
    }

    void returnPressesTheFocusedButton() {
        QFETCH(int, key);
        AppendLine(Form1->Memo1, "abc");
        Form1->Button3->setFocus();
        QTest::keyClick(Form1->Button3, Qt::Key(key));
        QCOMPARE(Form1->Memo1->toPlainText(), QString()); // "clear" was pressed
        Form1->Button1->setFocus();
        QTest::keyClick(Form1->Button1, Qt::Key(key));
        QCOMPARE(Lines(Form1->Memo1).size(), 1); // "Key erzeugen" was pressed
    }

    void clearEmptiesTheHistory() {
        AppendLine(Form1->Memo1, "abc");
        AppendLine(Form1->Memo1, "");
        QTest::mouseClick(Form1->Button3, Qt::LeftButton);
        QVERIFY(Lines(Form1->Memo1).isEmpty());
        QCOMPARE(Form1->Memo1->toPlainText(), QString());
        QTest::mouseClick(Form1->Button3, Qt::LeftButton); // already empty: nothing happens
        QVERIFY(Lines(Form1->Memo1).isEmpty());
        AppendLine(Form1->Memo1, "neu");
        QCOMPARE(Lines(Form1->Memo1), QStringList{"neu"});
        // The scroll bar is there only while the history overflows.
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form1->Memo1->verticalScrollBar()->isVisible());
        AppendLine(Form1->Memo1, QString(5000, u'x'));
        QVERIFY(Form1->Memo1->verticalScrollBar()->isVisible());
        QTest::mouseClick(Form1->Button3, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Form1->Memo1->verticalScrollBar()->isVisible(), 30000);
    }

    // A clipboard history looks at each change as it comes: every change a copy makes is marked from the
    // start.
    void copiesAreMarkedAsTheyAreMade_data() {
        QTest::addColumn<bool>("fromHistory");
        QTest::addColumn<QString>("way");
        for (const bool fromHistory : {false, true})
            for (const char* way : {"Ctrl+C", "Ctrl+Insert", "Kopieren"})
                QTest::addRow("%s, %s", fromHistory ? "history" : "key field", way) << fromHistory << way;
    }

    void copiesAreMarkedAsTheyAreMade() {
        QFETCH(bool, fromHistory);
        QFETCH(QString, way);
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        const QString key = Form1->LabeledEdit2->text();
        QWidget* edit = fromHistory ? static_cast<QWidget*>(Form1->Memo1) : Form1->LabeledEdit2;
        edit->setFocus();
        fromHistory ? Form1->Memo1->selectAll() : Form1->LabeledEdit2->selectAll();
        ClipboardChanges clipboard;
        CopyFrom(edit, way);
        QTRY_VERIFY_WITH_TIMEOUT(!clipboard.changes.isEmpty(), 30000); // Windows tells of it later
        for (const auto& [text, marked] : clipboard.changes) {
            QCOMPARE(text, fromHistory ? key + u'\n' : key);
            QVERIFY2(marked, "a copy was on the clipboard without the marks");
        }
    }

    // The key field does what the toolkit's read-only edit does, key for key and click for click, on this
    // platform's bindings (with the selection clipboard of X11 where the test runs under X), but every text
    // it hands to the clipboard or the selection is marked: the same changes, in the same order, with the
    // same text, and the caret and selection where the toolkit's edit leaves them. It looks the same
    // after every step, to the pixel, scrolled through a key longer than it shows as well.
    void keyFieldActsAsTheToolkitsEdit_data() {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("cursor");
        const QString words = QStringLiteral("Zb9 x-Yq7 mNp");
        QString key; // each character a key can have, three times over in another order
        for (int round = 0; round < 3; ++round) {
            for (char16_t c = u'!'; c <= u'~'; ++c)
                key.append(QChar(c));
            key.append(u"ÄÖÜäöüß");
        }
        for (qsizetype i = 1; i < key.size(); ++i)
            std::swap(key[i], key[(i * 37) % (i + 1)]);
        const std::tuple<const char*, QString, int, int> states[] = {
            {"caret at the start", words, 0, 0},
            {"caret inside a word", words, 5, 5},
            {"selected forward", words, 2, 9},
            {"selected backward", words, 9, 2},
            {"all selected", words, 0, 13},
            {"long key, caret at the end", key, int(key.size()), int(key.size())},
            {"long key, caret in the middle", key, 150, 150},
            {"long key, selected backward out of view", key, 200, 30},
        };
        for (const auto direction : {Qt::LeftToRight, Qt::RightToLeft})
            for (const auto& [state, text, anchor, cursor] : states)
                if (direction == Qt::LeftToRight || text == words) // a key runs left to right in either
                    QTest::addRow("%s, %s", direction == Qt::LeftToRight ? "left to right" : "right to left",
                                  state)
                        << direction << text << anchor << cursor;
    }

    void keyFieldActsAsTheToolkitsEdit() {
        QFETCH(Qt::LayoutDirection, direction);
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, cursor);
        if (QGuiApplication::platformName() == u"xcb")
            QVERIFY(QGuiApplication::clipboard()->supportsSelection());
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* keyField = new TEdit(&window);
        auto* toolkits = new QLineEdit(&window);
        auto* measured = new QLineEdit(&window); // as the toolkit's edit, to find how far a click scrolls it
        for (QLineEdit* edit : {toolkits, measured})
            edit->setFont(keyField->font());
        for (QLineEdit* edit : {static_cast<QLineEdit*>(keyField), toolkits, measured}) {
            edit->setMaxLength(std::numeric_limits<int>::max()); // as the key field in the window
            edit->setText(text);
            edit->setReadOnly(true);
            edit->setLayoutDirection(direction);
            edit->setFixedWidth(300);
            layout->addWidget(edit);
        }
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        // Each edit in turn gets the focus and the state to start from; a text longer than the edit is
        // scrolled there from its start, painted (the toolkit's edit scrolls by where it was when last
        // painted).
        const bool scrolls = toolkits->fontMetrics().horizontalAdvance(text) > toolkits->width();
        Caret prepared{};
        const auto prepare = [&](QLineEdit* Edit) {
            Edit->setFocus();
            Edit->setCursorPosition(0);
            if (scrolls)
                Edit->grab();
            Edit->setSelection(anchor, cursor - anchor);
            if (anchor == cursor)
                Edit->setCursorPosition(cursor);
            if (scrolls)
                Edit->grab();
            prepared = CaretOf(Edit);
        };
        prepare(toolkits);
        const QList<QPoint> gaps = GapsInView(toolkits);
        QList<std::pair<QString, Gesture>> all = KeyGestures() + MouseGestures(gaps);
        // A double click on a word cut at the right edge scrolls to its end; a click follows where that
        // place has moved to: no third click, as it is elsewhere in the field.
        prepare(measured);
        const QPoint edge = gaps.last();
        const int place = measured->cursorPositionAt(edge);
        QTest::mouseDClick(measured, Qt::LeftButton, {}, edge);
        measured->grab(); // the toolkit's edit scrolls as it paints
        const QList<QPoint> gapsAfter = GapsInView(measured);
        const auto movedTo = std::find_if(gapsAfter.begin(), gapsAfter.end(), [&](const QPoint& Gap) {
            return measured->cursorPositionAt(Gap) == place;
        });
        if (movedTo != gapsAfter.end() && *movedTo != edge)
            all.append({"double-click that scrolls, then a click where the text went",
                        [edge, to = *movedTo](QLineEdit* Edit) {
                            QTest::mouseDClick(Edit, Qt::LeftButton, {}, edge);
                            Edit->grab(); // painted, as a screen is between two clicks
                            QTest::mouseClick(Edit, Qt::LeftButton, {}, to);
                        }});
        for (int entry = 0; entry < 12; ++entry)
            all.append({QStringLiteral("menu entry %1").arg(entry), MenuEntry(entry)});
        const auto done = [&](QLineEdit* Edit, const Gesture& Gesture) {
            prepare(Edit);
            ClipboardChanges clipboard;
            Gesture(Edit);
            return std::tuple{CaretOf(Edit), clipboard.changes, clipboard.modes, Edit->grab().toImage()};
        };
        for (const auto& [name, gesture] : all) {
            const auto [keyFieldCaret, keyFieldCopies, keyFieldModes, keyFieldLook] = done(keyField, gesture);
            const auto [toolkitsCaret, toolkitsCopies, toolkitsModes, toolkitsLook] = done(toolkits, gesture);
            const QByteArray what = name.toUtf8();
            QVERIFY2(keyFieldCaret == toolkitsCaret, what + ": the caret or selection differs");
            QVERIFY2(keyFieldLook == toolkitsLook, what + ": the key field looks otherwise");
            // A key that changes nothing here (Delete, Paste: read-only) makes the toolkit's edit hand out
            // its selection again; the key field leaves that copy out.
            if (keyFieldCopies.isEmpty() && keyFieldCaret == prepared)
                continue;
            QVERIFY2(keyFieldModes == toolkitsModes, what + ": not the same copies to the same clipboards");
            for (qsizetype i = 0; i < keyFieldCopies.size(); ++i) {
                QVERIFY2(keyFieldCopies[i].second, what + ": a copy without the marks");
                QVERIFY2(keyFieldCopies[i].first == toolkitsCopies[i].first, what + ": another text copied");
            }
            QCOMPARE(keyField->text(), toolkits->text());
        }
    }

    // The keys that switch a line's direction (Windows sends them for the left or the right Ctrl+Shift
    // where a right-to-left keyboard layout is installed) leave a key as it runs: left to right, the
    // arrows and the mouse finding the characters where they are shown.
    void directionKeysLeaveTheKeyAsItRuns() {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* pressed = new TEdit(&window);
        auto* untouched = new TEdit(&window);
        for (TEdit* edit : {pressed, untouched}) {
            edit->setText(QStringLiteral("!ab?c-"));
            edit->setReadOnly(true);
            layout->addWidget(edit);
        }
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        pressed->setFocus();
        QTest::keyClick(pressed, Qt::Key_Direction_R);
        const QList<QPoint> gaps = GapsInView(untouched);
        QList<std::pair<QString, Gesture>> gestures = MouseGestures(gaps);
        gestures.append({"Right", Press(Qt::Key_Right)});
        gestures.append({"Shift+Left", Press(Qt::ShiftModifier | Qt::Key_Left)});
        for (const auto& [name, gesture] : gestures) {
            const auto done = [&gesture](QLineEdit* Edit) {
                Edit->setFocus();
                Edit->setCursorPosition(2);
                gesture(Edit);
                return std::pair{CaretOf(Edit), Edit->grab().toImage()};
            };
            const QByteArray what = name.toUtf8();
            QVERIFY2(done(pressed) == done(untouched),
                     what + ": not as in a field where no direction was set");
        }
    }

    void everyWayOfClosingRunsTheCloseHandlerOnce_data() {
        QTest::addColumn<std::function<void()>>("closeIt");
        QTest::newRow("beenden") << std::function<void()>(
            [] { QTest::mouseClick(Form1->Button2, Qt::LeftButton); });
        QTest::newRow("Alt+B") << std::function<void()>(
            [] { QTest::keyClick(Form1, Qt::Key_B, Qt::AltModifier); });
        QTest::newRow("window system") << std::function<void()>([] { Form1->windowHandle()->close(); });
    }

    void everyWayOfClosingRunsTheCloseHandlerOnce() {
        QFETCH(std::function<void()>, closeIt);
        CloseCounter counter;
        Form1->installEventFilter(&counter);
        closeIt();
        QTRY_COMPARE(counter.closes, 1); // the accelerator presses the button visibly, so a moment later
        QTest::qWait(200);
        QCOMPARE(counter.closes, 1);
        QVERIFY(!Form1->isVisible());
    }

    void theLinkOpensTheLabelsText() {
        OpenedUrls opened;
        const int width = Form1->Width();
        Form1->LabeledEdit2->setText("Key");
        QTest::mouseClick(Form1->Label1, Qt::LeftButton);
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(opened.urls.front().host(), Form1->Label1->text());
        QCOMPARE(opened.urls.front().toString(), QStringLiteral("http://") + Form1->Label1->text());
        // Nothing else changes.
        QCOMPARE(Form1->Width(), width);
        QCOMPARE(Form1->LabeledEdit2->text(), QStringLiteral("Key"));
        QVERIFY(Form1->Memo1->toPlainText().isEmpty());
    }

    void theLinkTakesTheTextAsItStands() {
        OpenedUrls opened;
        Form1->Label1->setText("https://example.org/a b?x=1");
        Form1->Label1Click(Form1->Label1);
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(opened.urls.front().toString(QUrl::FullyEncoded),
                 QStringLiteral("https://example.org/a%20b?x=1"));
    }

    void theLinksPressActionOpensItAsAClickDoes() {
        OpenedUrls opened;
        QAccessible::queryAccessibleInterface(Form1->Label1)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(opened.urls.front().toString(), QStringLiteral("http://zadrin.example"));
    }

    void aRightClickOnTheLinkOpensNothing() {
        OpenedUrls opened;
        QTest::mouseClick(Form1->Label1, Qt::RightButton);
        QVERIFY(opened.urls.isEmpty());
    }
};

ZADRIN_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
