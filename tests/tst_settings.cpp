// Selection, length and width come back at the next start from Zadrin.ini in the working directory.
#include "FormFixture.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QLineEdit>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
QByteArray SettingsFile() {
    return Contents(QStringLiteral("Zadrin.ini"));
}

void StoreSettings(const QByteArray& bytes) {
    Store(QStringLiteral("Zadrin.ini"), bytes);
}

void CloseAndReopen() {
    QVERIFY(Form1->close());
    ReopenMainForm();
}

#ifdef Q_OS_UNIX
// While one exists, this process can write files up to Bytes long only, as on a disk with that
// little room left: a longer write fails part-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{Bytes, before_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &before_); }

private:
    rlimit before_{};
};
#endif

bool AllCategoriesAre(bool checked) {
    for (int n = 1; n <= 4; ++n)
        if (Box(n)->isChecked() != checked)
            return false;
    return true;
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { CreateMainForm(); }

    void firstRun() {
        QCOMPARE(Form1->Width(), Compact);
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral("8"));
        QCOMPARE(CheckedBoxes(), AllCharacterBoxes());
        QVERIFY(AllCategoriesAre(true));
    }

    void fileWrittenFromScratch() {
        Box(5)->setChecked(false);
        Box(105)->setChecked(false);
        QVERIFY(Form1->close());
        const QByteArray selection = 'F' + QByteArray(99, 'T') + 'F';
        QCOMPARE(SettingsFile(), "[CheckBox]\r\nWert=" + selection + "\r\n[Option]\r\nKG=K\r\nL=8\r\n");
    }

    void everythingComesBack() {
        Box(2)->setChecked(false); // upper-case letters off
        Box(31)->setChecked(false);
        Box(73)->setChecked(false);
        Form1->LabeledEdit1->setText("12");
        Form1->SetWidth(Expanded);
        const QList<int> checked = CheckedBoxes();
        CloseAndReopen();
        QCOMPARE(CheckedBoxes(), checked);
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral("12"));
        QCOMPARE(Form1->Width(), Expanded);
        QVERIFY(AllCategoriesAre(false)); // after a saved selection, whatever it is
    }

    void widthAtClose_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<int>("nextStart");
        QTest::newRow("500") << Expanded << QByteArray("G") << Expanded;
        QTest::newRow("499") << 499 << QByteArray("G") << Expanded;
        QTest::newRow("498") << 498 << QByteArray("K") << Compact;
        QTest::newRow("205") << Compact << QByteArray("K") << Compact;
    }

    void widthAtClose() {
        QFETCH(int, width);
        QFETCH(QByteArray, saved);
        QFETCH(int, nextStart);
        Form1->SetWidth(width);
        CloseAndReopen();
        QVERIFY(SettingsFile().contains("KG=" + saved + "\r\n"));
        QCOMPARE(Form1->Width(), nextStart);
    }

    void storedValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<bool>("categories");
        const QList<int> all = AllCharacterBoxes();
        QTest::newRow("KG g") << QByteArray("[Option]\r\nKG=g\r\n") << Compact << "8" << all << true;
        QTest::newRow("KG G") << QByteArray("[option]\r\nkg=G\r\n") << Expanded << "8" << all << true;
        QTest::newRow("KG other") << QByteArray("[Option]\r\nKG=Gross\r\n") << Compact << "8" << all << true;
        QTest::newRow("empty values")
            << QByteArray("[CheckBox]\r\nWert=\r\n[Option]\r\nKG=\r\nL=\r\n") << Compact << "" << all << true;
        QTest::newRow("101 F") << "[CheckBox]\r\nWert=" + QByteArray(101, 'F') + "\r\n"
                               << Compact << "8" << QList<int>() << false;
        QTest::newRow("50 T") << "[CheckBox]\r\nWert=" + QByteArray(50, 'T') + "\r\n"
                              << Compact << "8" << Range(5, 54) << false;
        QTest::newRow("lower-case t")
            << QByteArray("[CheckBox]\r\nWert=tTtT\r\n") << Compact << "8" << QList<int>{6, 8} << false;
        QTest::newRow("beyond 101 ignored") << "[CheckBox]\r\nWert=" + QByteArray(100, 'F') + "TTTT\r\n"
                                            << Compact << "8" << QList<int>{105} << false;
        QTest::newRow("L 12") << QByteArray("[Option]\r\nL=12\r\n") << Compact << "12" << all << true;
        QTest::newRow("L abc kept as it is")
            << QByteArray("[Option]\r\nL=abc\r\n") << Compact << "abc" << all << true;
        QTest::newRow("L in code page 1252")
            << QByteArray("[Option]\r\nL=\xE4\x80\r\n") << Compact << QString::fromUtf8("ä€") << all << true;
        QTest::newRow("damaged") << Bytes("\0\xFF\xFE[[[==\r\n\0") << Compact << "8" << all << true;
    }

    void storedValues() {
        QFETCH(QByteArray, file);
        QFETCH(int, width);
        QFETCH(QString, length);
        QFETCH(QList<int>, checked);
        QFETCH(bool, categories);
        StoreSettings(file);
        ReopenMainForm();
        QCOMPARE(Form1->Width(), width);
        QCOMPARE(Form1->LabeledEdit1->text(), length);
        QCOMPARE(CheckedBoxes(), checked);
        QVERIFY(AllCategoriesAre(categories));
    }

    void lengthTextComesBackUnchanged() {
        Form1->LabeledEdit1->setText("abc");
        CloseAndReopen();
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral("abc"));
        Form1->LabeledEdit1->setText(" 7 ");
        CloseAndReopen();
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral(" 7 "));
    }

    void linesThatAreNotOursSurviveByteForByte() {
        const QByteArray mine =
            "; Notizen\r\n[Fremd]\r\nx = 1 \r\n\r\n[Option]\nKG=G\n; bleibt\nL=99\n[CheckBox]\r\n"
            "Wert=TF\r\n";
        StoreSettings(mine);
        ReopenMainForm();
        CloseAndReopen();
        const QByteArray saved = SettingsFile();
        const QByteArray selection = "TF" + QByteArray(99, 'F');
        QCOMPARE(saved,
                 "; Notizen\r\n[Fremd]\r\nx = 1 \r\n\r\n[Option]\nKG=G\n; bleibt\nL=99\n[CheckBox]\r\nWert=" +
                     selection + "\r\n");
    }

    void anotherWorkingDirectoryHasAnotherFile() {
        Form1->LabeledEdit1->setText("21");
        QTemporaryDir other;
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(other.path()));
        QVERIFY(Form1->close());
        QVERIFY(QFile::exists(other.filePath("Zadrin.ini")));
        ReopenMainForm();
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral("21"));
        QVERIFY(QDir::setCurrent(home));
        ReopenMainForm();
        QCOMPARE(Form1->LabeledEdit1->text(), QStringLiteral("8"));
    }

#ifdef Q_OS_UNIX // a file size limit stands in for a full disk; hard links make the save write in place
    void aSaveWithRoomForPartOfTheFileSaysWhatBecameOfIt_data() {
        QTest::addColumn<bool>("hardLinked");
        QTest::addColumn<int>("roomBeyondOld"); // bytes the disk takes beyond the old file's size
        QTest::addColumn<bool>("unchanged");
        QTest::newRow("replaced whole") << false << 100 << true;
        QTest::newRow("in place, the old content written back") << true << 100 << true;
        // With less room than the old content had, the program cannot tell how much of it came back, and says
        // the file may be incomplete. (It is whole here: below the limit it came back, above it nothing was
        // touched; a test cannot cut a write back short.)
        QTest::newRow("in place, less room than the old content had") << true << -50 << false;
    }

    void aSaveWithRoomForPartOfTheFileSaysWhatBecameOfIt() {
        QFETCH(bool, hardLinked);
        QFETCH(int, roomBeyondOld);
        QFETCH(bool, unchanged);
        const QByteArray old =
            "; mine\r\n[CheckBox]\r\nWert=" + QByteArray(101, 'F') + "\r\n[Option]\r\nKG=K\r\nL=8\r\n";
        StoreSettings(old);
        QFile::remove("Zweitname.ini");
        if (hardLinked)
            QCOMPARE(::link("Zadrin.ini", "Zweitname.ini"), 0);
        ReopenMainForm();
        Box(5)->setChecked(true);
        Form1->SetWidth(Expanded);
        Form1->LabeledEdit1->setText(QString(4000, u'7')); // the new file is larger than the room left
        ReportedErrors errors;
        {
            const FileSizeLimit room(rlim_t(old.size() + roomBeyondOld));
            QVERIFY(Form1->close());
        }
        QFile::remove("Zweitname.ini");
        QCOMPARE(errors.messages.size(), 1);
        const QString message = errors.messages.front();
        QCOMPARE(message.contains("Die Datei ist unverändert geblieben"), unchanged);
        QCOMPARE(message.contains("Die Datei kann jetzt unvollständig sein"), !unchanged);
        QCOMPARE(SettingsFile(), old); // not one of the three values
        QVERIFY2(!message.contains("Unbekannter Fehler") && !message.contains("Unknown error"),
                 qPrintable(message));
    }
#endif

    void aFailedSaveIsReportedAndTheWindowStillCloses() {
        QVERIFY(QDir().mkdir("Zadrin.ini"));
        ReportedErrors errors;
        Form1->show();
        QVERIFY(Form1->close());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages.front().contains(
            QDir::toNativeSeparators(QDir::current().absoluteFilePath("Zadrin.ini"))));
        QVERIFY(QDir().rmdir("Zadrin.ini"));
    }
};

ZADRIN_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
