// The window's commands: quit, clear the history, switch the width, open the link.
#include "FormFixture.h"
#include "TestMain.h"
#include "platform/Clipboard.h"
#include "platform/Memo.h"

#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
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
        });
    }
    QList<std::pair<QString, bool>> changes;
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
