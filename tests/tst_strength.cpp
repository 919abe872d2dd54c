// The key field's note on the strength of the key it shows, and which keys can be shown at all.
#include "form/KeyLength.h"
#include "form/KeyStrength.h"
#include "platform/Memory.h"

#include <QTest>

class TestStrength : public QObject {
    Q_OBJECT
private slots:
    void text_data() {
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<qsizetype>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty key") << qsizetype(0) << qsizetype(94) << QString();
        QTest::newRow("one of two") << qsizetype(1) << qsizetype(2) << "Stärke: 1,0 Bit (1 Zeichen aus 2)";
        QTest::newRow("8 of 94") << qsizetype(8) << qsizetype(94) << "Stärke: 52,4 Bit (8 Zeichen aus 94)";
        QTest::newRow("one character only")
            << qsizetype(5) << qsizetype(1) << "Stärke: 0,0 Bit (5 Zeichen aus 1)";
        QTest::newRow("a million of 101") << qsizetype(1'000'000) << qsizetype(101)
                                          << "Stärke: 6.658.211,5 Bit (1.000.000 Zeichen aus 101)";
        QTest::newRow("longest key") << qsizetype(2'147'483'647) << qsizetype(101)
                                     << "Stärke: 14.298.400.277,5 Bit (2.147.483.647 Zeichen aus 101)";
    }

    void text() {
        QFETCH(qsizetype, length);
        QFETCH(qsizetype, count);
        QFETCH(QString, text);
        QCOMPARE(KeyStrengthText(length, count), text);
    }

    void lengthProblem_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<qint64>("available");
        QTest::addColumn<QString>("problem");
        constexpr qint64 gigabyte = qint64(1) << 30;
        const QString tooLong =
            "Ein Key kann höchstens 50.000.000 Zeichen lang sein. Bitte eine kleinere Stellenzahl wählen.";
        QTest::newRow("short") << 8 << gigabyte << QString();
        QTest::newRow("none or negative") << -5 << qint64(0) << QString();
        QTest::newRow("longest, memory enough") << LongestShownKey << 8 * gigabyte << QString();
        QTest::newRow("one too long") << LongestShownKey + 1 << 1000 * gigabyte << tooLong;
        QTest::newRow("longest possible number") << 2147483647 << qint64(-1) << tooLong;
        QTest::newRow("memory not known") << 20'000'000 << qint64(-1) << QString();
        QTest::newRow("memory short")
            << 20'000'000 << gigabyte
            << "Ein Key mit 20.000.000 Zeichen braucht etwa 1,9 GB Arbeitsspeicher, frei "
               "sind nur 1,0 GB. Bitte eine kleinere Stellenzahl wählen.";
        QTest::newRow("just enough") << 10'000'000 << qint64(1'000'000'000) << QString();
        QTest::newRow("one byte short")
            << 10'000'000 << qint64(999'999'999)
            << "Ein Key mit 10.000.000 Zeichen braucht etwa 0,9 GB Arbeitsspeicher, frei "
               "sind nur 0,9 GB. Bitte eine kleinere Stellenzahl wählen.";
    }

    void lengthProblem() {
        QFETCH(int, length);
        QFETCH(qint64, available);
        QFETCH(QString, problem);
        QCOMPARE(KeyLengthProblem(length, available), problem);
    }

    void freeMemoryIsKnown() {
#ifdef Q_OS_LINUX
        const qint64 available = AvailableMemory();
        QVERIFY2(available > (qint64(16) << 20) && available < (qint64(1) << 50),
                 qPrintable(QString::number(available)));
#else
        QSKIP("only read on Linux");
#endif
    }
};

QTEST_APPLESS_MAIN(TestStrength)
#include "tst_strength.moc"
