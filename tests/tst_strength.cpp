// The key field's note on the strength of the key it shows.
#include "KeyStrength.h"

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
};

QTEST_APPLESS_MAIN(TestStrength)
#include "tst_strength.moc"
