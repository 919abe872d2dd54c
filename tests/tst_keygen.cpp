// "Key erzeugen": keys of the asked length from exactly the checked characters, uniformly drawn,
// shown in the key field and added to the history; errors change nothing.
#include "FormFixture.h"
#include "TestMain.h"
#include "platform/DrawMapping.h"
#include "platform/Memo.h"
#include "platform/Random.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <climits>
#include <cmath>
#include <csignal>
#include <random>
#include <sodium.h>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {
QString Generate(const QString& Length) {
    Form1->LabeledEdit1->setText(Length);
    QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    return Form1->LabeledEdit2->text();
}

// The key a plain scan gives for the draws: for each draw r, walk the boxes by name from 5 upwards
// to the (r + 1)-th checked one and take the first character of its caption.
QString KeyByScanningNames(const QList<int>& Draws) {
    QString key;
    for (int r : Draws) {
        int k = r + 1, number = 4;
        while (k > 0)
            if (Form1->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(++number))->isChecked())
                --k;
        key.append(Form1->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(number))->text().left(1));
    }
    return key;
}

// The value a chi-square statistic with Freedom degrees exceeds by chance with probability below
// 1e-9 (Wilson-Hilferty with z = 6, which errs on the high side for few degrees).
double ChiSquareLimit(int Freedom) {
    const double k = Freedom, z = 6.0;
    return k * std::pow(1.0 - 2.0 / (9.0 * k) + z * std::sqrt(2.0 / (9.0 * k)), 3.0);
}

double ChiSquare(const QString& Key, const QString& Alphabet) {
    QHash<QChar, qint64> counts;
    for (QChar c : Key)
        ++counts[c];
    const double expected = double(Key.size()) / double(Alphabet.size());
    double chi = 0;
    for (QChar c : Alphabet)
        chi += std::pow(double(counts.value(c)) - expected, 2) / expected;
    return chi;
}

QString Characters(const QList<int>& Numbers) {
    QString alphabet;
    for (int n : Numbers)
        alphabet.append(Box(n)->text().front());
    return alphabet;
}
} // namespace

class TestKeyGenerator : public QObject {
    Q_OBJECT
private slots:
    void init() { CreateMainForm(); }

    void keyOfOneCharacter_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("key");
        QTest::newRow("only a") << 5 << "8"
                                << "aaaaaaaa";
        QTest::newRow("only & gives one & a draw") << 73 << "3"
                                                   << "&&&";
        QTest::newRow("only ß") << 105 << "2" << QString(2, QChar(0xDF));
        QTest::newRow("only ~") << 67 << "1"
                                << "~";
        QTest::newRow("spaces around the length") << 31 << " 4 "
                                                  << "0000";
        QTest::newRow("plus sign") << 31 << "+2"
                                   << "00";
    }

    void keyOfOneCharacter() {
        QFETCH(int, box);
        QFETCH(QString, length);
        QFETCH(QString, key);
        CheckOnly({box});
        QCOMPARE(Generate(length), key);
        QCOMPARE(Lines(Form1->Memo1), QStringList{key});
    }

    void categoryBoxesDoNotCount() {
        for (int category = 1; category <= 4; ++category)
            Box(category)->setChecked(false);
        Box(28)->setChecked(true); // x
        QCOMPARE(Generate("6"), QStringLiteral("xxxxxx"));
    }

    void drawsPickTheCheckedBoxesInNumberOrder_data() {
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("all") << AllCharacterBoxes();
        QTest::newRow("first and last") << QList<int>{5, 105};
        QTest::newRow("ampersand and neighbours") << QList<int>{72, 73, 74};
        QTest::newRow("scattered") << QList<int>{6, 31, 40, 41, 66, 67, 68, 82, 98, 99, 101, 102, 104};
    }

    void drawsPickTheCheckedBoxesInNumberOrder() {
        QFETCH(QList<int>, checked);
        CheckOnly(checked);

        // Every rank from first to last, then some in between.
        QList<int> draws;
        for (int r = 0; r < checked.size(); ++r)
            draws << r << (checked.size() - 1 - r) << (r * 7) % checked.size();
        QList<int> asked;
        qsizetype next = 0;
        ScopedRandIntSource source([&](int n) {
            asked.append(n);
            return draws[next++];
        });
        QCOMPARE(Generate(QString::number(draws.size())), KeyByScanningNames(draws));
        QCOMPARE(asked, QList<int>(draws.size(), int(checked.size())));
    }

    void lengthZeroOrLessGivesAnEmptyKey_data() {
        QTest::addColumn<QString>("length");
        QTest::addColumn<bool>("anyBoxChecked");
        QTest::newRow("0") << "0" << true;
        QTest::newRow("-5") << "-5" << true;
        QTest::newRow("lowest") << "-2147483648" << true;
        QTest::newRow("0, nothing checked") << "0" << false;
    }

    void lengthZeroOrLessGivesAnEmptyKey() {
        QFETCH(QString, length);
        QFETCH(bool, anyBoxChecked);
        SetCharacterBoxes(anyBoxChecked);
        ReportedErrors errors;
        Form1->LabeledEdit2->setText("alter Key");
        QCOMPARE(Generate(length), QString());
        QCOMPARE(Generate(length), QString());
        // Each empty key is a line of its own, also on an empty history.
        QCOMPARE(Lines(Form1->Memo1), QStringList({"", ""}));
        QCOMPARE(Form1->Memo1->toPlainText(), QStringLiteral("\n\n"));
        QVERIFY(errors.messages.isEmpty());
    }

    void errorsChangeNothing_data() {
        QTest::addColumn<QString>("length");
        QTest::addColumn<bool>("anyBoxChecked");
        QTest::addColumn<QString>("message");
        QTest::newRow("abc") << "abc" << true << "„abc“ ist keine gültige ganze Zahl.";
        QTest::newRow("empty") << "" << true << "„“ ist keine gültige ganze Zahl.";
        QTest::newRow("too long") << "2147483648" << true
                                  << "„2147483648“ liegt außerhalb des erlaubten Bereichs von "
                                     "-2147483648 bis 2147483647.";
        QTest::newRow("nothing checked") << "1" << false
                                         << "Es ist kein Zeichen angekreuzt. Bitte mindestens ein Zeichen "
                                            "auswählen, aus dem der Key bestehen soll.";
    }

    void errorsChangeNothing() {
        QFETCH(QString, length);
        QFETCH(bool, anyBoxChecked);
        QFETCH(QString, message);
        const QString before = Generate("5");
        SetCharacterBoxes(anyBoxChecked);
        ReportedErrors errors;
        Generate(length);
        QCOMPARE(errors.messages, QStringList{message});
        QCOMPARE(Form1->LabeledEdit2->text(), before);
        QCOMPARE(Lines(Form1->Memo1), QStringList{before});

        // The program goes on: a valid click works.
        SetCharacterBoxes(true);
        const QString after = Generate("7");
        QCOMPARE(after.size(), 7);
        QCOMPARE(Lines(Form1->Memo1), QStringList({before, after}));
    }

    void runningOutOfMemoryMidwayChangesNothing() {
        const QString before = Generate("4");
        ReportedErrors errors;
        int draws = 0;
        ScopedRandIntSource failing([&](int) -> int {
            if (++draws == 1000)
                throw std::bad_alloc();
            return 0;
        });
        Generate("5000");
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages.front().startsWith("Nicht genug Arbeitsspeicher"));
        QCOMPARE(Form1->LabeledEdit2->text(), before);
        QCOMPARE(Lines(Form1->Memo1), QStringList{before});
    }

    void aKeyTooLongToShowIsRefusedAtOnce() {
        const QString before = Generate("4");
        ReportedErrors errors;
        QElapsedTimer timer;
        timer.start();
        Generate("2000000000");
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY2(errors.messages.front().startsWith("Ein Key kann höchstens 50.000.000 Zeichen"),
                 qPrintable(errors.messages.front()));
        QVERIFY(timer.elapsed() < 5000); // refused before anything is drawn
        QCOMPARE(Form1->LabeledEdit2->text(), before);
        QCOMPARE(Lines(Form1->Memo1), QStringList{before});
    }

    void theBusyPointerShowsWhileAKeyIsMade() {
        QList<bool> busy;
        ScopedRandIntSource watching([&](int) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            busy.append(cursor && cursor->shape() == Qt::WaitCursor);
            return 0;
        });
        Generate("3");
        QCOMPARE(busy, QList<bool>({true, true, true}));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        ReportedErrors errors;
        Generate("abc");
        QCOMPARE(errors.messages.size(), 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr); // also after an error
    }

    void aKeyBeyondTheProcesssAddressSpaceLimitIsRefused() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer reserves terabytes of address space of its own");
#elif !defined(Q_OS_LINUX)
        QSKIP("the process's own limits are read on Linux");
#else
        // Memory the system has free, but a limit on the process (ulimit -v) leaves 300 MB of it:
        // a 5 000 000-character key needs some 500 MB to make and show.
        const QString before = Generate("4");
        QFile status("/proc/self/status");
        QVERIFY(status.open(QIODevice::ReadOnly));
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf("VmSize:") + 7;
        const qint64 used =
            text.mid(at, text.indexOf('\n', at) - at).trimmed().split(' ').value(0).toLongLong() * 1024;
        QVERIFY(used > 0);
        rlimit old{};
        getrlimit(RLIMIT_AS, &old);
        const rlimit limited{rlim_t(used + (300 << 20)), old.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_AS, &limited), 0);
        ReportedErrors errors;
        Generate("5000000");
        setrlimit(RLIMIT_AS, &old);
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY2(errors.messages.front().startsWith("Ein Key mit 5.000.000 Zeichen braucht etwa"),
                 qPrintable(errors.messages.front()));
        QCOMPARE(Form1->LabeledEdit2->text(), before);
        QCOMPARE(Lines(Form1->Memo1), QStringList{before});
#endif
    }

    void enterInTheLengthFieldMakesAKey() {
        Form1->LabeledEdit1->setText("12");
        QTest::keyClick(Form1->LabeledEdit1, Qt::Key_Return);
        QCOMPARE(Form1->LabeledEdit2->text().size(), 12);
    }

    void longKeyShownWhole() {
        const QString key = Generate("100000");
        QCOMPARE(key.size(), 100000);
        QCOMPARE(Lines(Form1->Memo1), QStringList{key});
        QCOMPARE(Form1->Memo1->wordWrapMode(), QTextOption::WrapAnywhere);
    }

    void keyFieldTellsTheStrength() {
        Box(2)->setChecked(false);
        Box(2)->setChecked(true);
        for (int n : {99, 100, 101, 102, 103, 104, 105}) // the German letters: 94 left
            Box(n)->setChecked(false);
        Generate("8");
        QCOMPARE(Form1->LabeledEdit2->toolTip(), QStringLiteral("Stärke: 52,4 Bit (8 Zeichen aus 94)"));
        QCOMPARE(Form1->LabeledEdit2->accessibleDescription(), Form1->LabeledEdit2->toolTip());
        Generate("0");
        QCOMPARE(Form1->LabeledEdit2->toolTip(), QString());
    }

    void theNewestKeyIsInView() {
        Form1->show();
        for (int i = 0; i < 60; ++i)
            Generate("8");
        QVERIFY(Form1->Memo1->textCursor().atEnd());
        QVERIFY(Form1->Memo1->cursorRect().bottom() <= Form1->Memo1->viewport()->height());
        QVERIFY(Form1->Memo1->verticalScrollBar()->value() > 0);
    }

    void historyKeepsWhatTheUserTyped() {
        Form1->Memo1->setPlainText("Notiz");
        const QString key = Generate("3");
        QCOMPARE(Lines(Form1->Memo1), QStringList({"Notiz", key}));
    }

    void everyCheckedCharacterEquallyLikely_data() {
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("all 101") << AllCharacterBoxes();
        QTest::newRow("five scattered") << QList<int>{5, 39, 73, 99, 105};
    }

    void everyCheckedCharacterEquallyLikely() {
        QFETCH(QList<int>, checked);
        CheckOnly(checked);
        const QString alphabet = Characters(checked);
        const QString key = Generate(QString::number(alphabet.size() * 5000));
        for (QChar c : key)
            QVERIFY(alphabet.contains(c));
        const double chi = ChiSquare(key, alphabet);
        const double limit = ChiSquareLimit(int(alphabet.size()) - 1);
        QVERIFY2(chi < limit, qPrintable(QStringLiteral("chi-square %1, limit %2").arg(chi).arg(limit)));
    }

    // The random source itself, for the sizes its draws take apart: one byte a draw up to 256 (101 is
    // the whole grid), four above. Pairs of draws in a row for the small ones: independent of each other.
    void randIntIsUniform_data() {
        QTest::addColumn<int>("n");
        QTest::newRow("2") << 2;
        QTest::newRow("7") << 7;
        QTest::newRow("101") << 101;
        QTest::newRow("256") << 256;
        QTest::newRow("1000") << 1000;
        QTest::newRow("70000") << 70000;
    }

    void randIntIsUniform() {
        QFETCH(int, n);
        const bool pairs = n <= 16;
        const int cells = pairs ? n * n : n, draws = 1'000'000;
        QList<qint64> counts(cells, 0);
        for (int i = 0; i < draws; ++i) {
            int r = RandInt(n);
            QVERIFY(0 <= r && r < n);
            if (pairs) {
                const int second = RandInt(n);
                QVERIFY(0 <= second && second < n);
                r = r * n + second;
            }
            ++counts[r];
        }
        const double expected = double(draws) / cells;
        double chi = 0;
        for (qint64 count : counts)
            chi += std::pow(double(count) - expected, 2) / expected;
        QVERIFY2(
            chi < ChiSquareLimit(cells - 1),
            qPrintable(QStringLiteral("chi-square %1, limit %2").arg(chi).arg(ChiSquareLimit(cells - 1))));
    }

    // Each byte for every n up to 256: every choice made by exactly as many bytes, the rest rejected.
    void aByteMapsWithoutBias() {
        for (int n = 1; n <= 256; ++n) {
            const DrawMapping mapping = DrawMapping::For(n);
            QList<int> made(n, 0);
            int rejected = 0;
            for (std::uint32_t byte = 0; byte < 256; ++byte) {
                const int choice = mapping.FromByte(byte);
                QVERIFY(-1 <= choice && choice < n);
                choice < 0 ? ++rejected : ++made[choice];
            }
            QVERIFY2(made.count(256 / n) == n, qPrintable(QStringLiteral("n = %1").arg(n)));
            QCOMPARE(rejected, 256 % n);
        }
    }

    // Four bytes from 257 on: the words whose high part is a choice make it exactly 2^32 / n times (rounded
    // down), at both ends of the range and in its middle.
    void fourBytesMapWithoutBias_data() {
        QTest::addColumn<int>("n");
        for (const int n : {257, 1000, 65537, 70000, INT_MAX})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }

    void fourBytesMapWithoutBias() {
        QFETCH(int, n);
        QVERIFY(!DrawMapping::OneByte(n) && DrawMapping::OneByte(256));
        const DrawMapping mapping = DrawMapping::For(n);
        const std::uint64_t whole = std::uint64_t(1) << 32;
        for (const std::uint64_t choice :
             {std::uint64_t(0), std::uint64_t(1), std::uint64_t(n / 2), std::uint64_t(n - 1)}) {
            // The words x with floor(x * n / 2^32) == choice, and one more on either side.
            const std::uint64_t first = (choice * whole + n - 1) / n,
                                end = ((choice + 1) * whole + n - 1) / n;
            std::uint64_t made = 0;
            for (std::uint64_t word = first == 0 ? 0 : first - 1; word <= end && word < whole; ++word) {
                const int drawn = mapping.FromWord(std::uint32_t(word));
                QVERIFY(-1 <= drawn && drawn < n);
                made += std::uint64_t(drawn) == choice;
            }
            QCOMPARE(made, whole / std::uint64_t(n));
        }
    }

    // The draws are ChaCha20's keystream with fast key erasure, computed here from the cipher itself: from a
    // known key, blocks of RandomBlockBytes, each keyed by the first bytes of the one before, the rest
    // drawn a byte for n = 256, four (the first the highest) for n > 256.
    void drawsAreTheKeystreamWithKeyErasure() {
        std::array<unsigned char, RandomKeyBytes> key;
        for (std::size_t i = 0; i < key.size(); ++i)
            key[i] = static_cast<unsigned char>(7 * i + 1);
        RandomizeFrom(key.data());
        QByteArray expected;
        const unsigned char nonce[crypto_stream_chacha20_NONCEBYTES] = {};
        for (int refill = 0; refill < 4; ++refill) {
            QByteArray block(RandomBlockBytes, Qt::Uninitialized);
            auto* bytes = reinterpret_cast<unsigned char*>(block.data());
            crypto_stream_chacha20(bytes, RandomBlockBytes, nonce, key.data());
            std::copy_n(bytes, key.size(), key.begin());
            expected.append(block.mid(RandomKeyBytes));
        }
        qsizetype at = 0;
        for (; at < 3 * expected.size() / 4; ++at) // three refills and into the fourth
            QCOMPARE(RandInt(256), int(uchar(expected[at])));
        for (const int n : {257, INT_MAX})
            for (int i = 0; i < 100; ++i) {
                std::uint64_t product = 0;
                do {
                    std::uint32_t word = 0;
                    for (int k = 0; k < 4; ++k)
                        word = word << 8 | uchar(expected[at++]);
                    product = std::uint64_t(word) * std::uint32_t(n);
                } while (std::uint32_t(product) < (std::uint64_t(1) << 32) % std::uint32_t(n));
                QCOMPARE(RandInt(n), int(product >> 32));
            }
        randombytes_buf(key.data(), key.size()); // the tests after this draw from an unknown key again
        RandomizeFrom(key.data());
        sodium_memzero(key.data(), key.size());
    }

    // A draw with no choice is a programming error: the process ends, it neither loops nor returns.
    void aDrawWithoutChoicesEndsTheProcess_data() {
        QTest::addColumn<int>("n");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
        QTest::newRow("INT_MIN") << INT_MIN;
    }

    void aDrawWithoutChoicesEndsTheProcess() {
#ifdef Q_OS_UNIX
        QFETCH(int, n);
        const pid_t child = fork();
        if (child == 0) {
            const int nowhere = open("/dev/null", O_WRONLY); // the message and the runner's report of it
            dup2(nowhere, STDOUT_FILENO);                    // are for a developer, not for this output
            dup2(nowhere, STDERR_FILENO);
            std::signal(SIGABRT, SIG_DFL); // not the test runner's report of a crash: the end is the point
            alarm(10);                     // one that loops ends by the alarm
            std::_Exit(RandInt(n) + 200);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT,
                 qPrintable(WIFSIGNALED(status)
                                ? QStringLiteral("ended by signal %1").arg(WTERMSIG(status))
                                : QStringLiteral("returned %1").arg(WEXITSTATUS(status) - 200)));
#else
        QSKIP("the process is divided to watch one end: Linux");
#endif
    }

    void chiSquareCatchesABiasedSource() {
        // The uniformity check must see a modest bias: the first character drawn 25 % too often.
        std::mt19937 generator(2024);
        ScopedRandIntSource biased([&](int n) {
            const int r = std::uniform_int_distribution<int>(0, 4 * n)(generator);
            return r == 4 * n ? 0 : r % n;
        });
        const QString key = Generate(QString::number(101 * 5000));
        QVERIFY(ChiSquare(key, Characters(AllCharacterBoxes())) > ChiSquareLimit(100));
    }
};

ZADRIN_TEST_MAIN(TestKeyGenerator)
#include "tst_keygen.moc"
