// The key field's note on the strength of the key it shows, and which keys can be shown at all.
#include "form/KeyLength.h"
#include "form/KeyStrength.h"
#include "platform/Memory.h"

#include <QFile>
#include <QTest>
#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
#include <sys/resource.h>

namespace {
// The process's address space in bytes, as the kernel counts it against its limit.
qint64 AddressSpace() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:"))
                return line.mid(7).simplified().split(' ').front().toLongLong() * 1024;
    return -1;
}
} // namespace
#endif

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

    // What the system has free, and less under a limit of the process's own: an address space that
    // leaves 256 MiB gives at most that. (The address sanitizer reserves terabytes of address space.)
    void freeMemoryFollowsTheLimits() {
#if defined(Q_OS_LINUX) && !defined(__SANITIZE_ADDRESS__)
        const qint64 unlimited = AvailableMemory();
        QVERIFY2(unlimited > (qint64(64) << 20), qPrintable(QString::number(unlimited)));
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_AS, &before), 0);
        const rlimit lower{rlim_t(AddressSpace() + (qint64(256) << 20)), before.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_AS, &lower), 0);
        const qint64 limited = AvailableMemory();
        QCOMPARE(setrlimit(RLIMIT_AS, &before), 0);
        QVERIFY2(limited <= std::min(unlimited, qint64(256) << 20) && limited > (qint64(200) << 20),
                 qPrintable(QString::number(limited)));
#else
        QSKIP("only read on Linux, and not under the address sanitizer");
#endif
    }
};

QTEST_APPLESS_MAIN(TestStrength)
#include "tst_strength.moc"
