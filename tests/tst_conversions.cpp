// Text and numbers, and text and the bytes of code page 1252.
#include "platform/Exception.h"
#include "platform/SysUtils.h"
#include "platform/settings/CodePage1252.h"

#include <QTest>

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    void strToIntAccepts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "8" << 8;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("plus") << "+12" << 12;
        QTest::newRow("minus") << "-3" << -3;
        QTest::newRow("minus zero") << "-0" << 0;
        QTest::newRow("spaces around") << "  42\t" << 42;
        QTest::newRow("largest") << "2147483647" << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << int(-2147483648LL);
        QTest::newRow("many leading zeros") << "0000000000000000000009" << 9;
    }

    void strToIntAccepts() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(StrToInt(text), value);
    }

    void strToIntRejects_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString notNumber = QStringLiteral("„%1“ ist keine gültige ganze Zahl.");
        const QString outOfRange =
            QStringLiteral("„%1“ liegt außerhalb des erlaubten Bereichs von -2147483648 bis 2147483647.");
        QTest::newRow("letters") << "abc" << notNumber.arg("abc");
        QTest::newRow("empty") << "" << notNumber.arg("");
        QTest::newRow("only a sign") << "-" << notNumber.arg("-");
        QTest::newRow("two signs") << "+-1" << notNumber.arg("+-1");
        QTest::newRow("space inside") << "1 2" << notNumber.arg("1 2");
        QTest::newRow("sign apart") << "- 1" << notNumber.arg("- 1");
        QTest::newRow("decimal") << "1.5" << notNumber.arg("1.5");
        QTest::newRow("hex") << "0x10" << notNumber.arg("0x10");
        QTest::newRow("arabic-indic digits")
            << QString::fromUtf8("٣") << notNumber.arg(QString::fromUtf8("٣"));
        QTest::newRow("ideographic space, lost in the settings file")
            << QString::fromUtf8("\u300012") << notNumber.arg(QString::fromUtf8("\u300012"));
        QTest::newRow("line break around") << "\n12\r" << notNumber.arg("\n12\r");
        QTest::newRow("fullwidth digit") << QString::fromUtf8("８") << notNumber.arg(QString::fromUtf8("８"));
        QTest::newRow("one past largest") << "2147483648" << outOfRange.arg("2147483648");
        QTest::newRow("one past smallest") << "-2147483649" << outOfRange.arg("-2147483649");
        QTest::newRow("huge") << "99999999999999999999999" << outOfRange.arg("99999999999999999999999");
        QTest::newRow("huge, then a letter") << "99999999999999x" << notNumber.arg("99999999999999x");
        const QString pasted(100, u'7');
        QTest::newRow("long text is cut in the message") << pasted << outOfRange.arg(pasted.left(40) + u'…');
    }

    void strToIntRejects() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        try {
            StrToInt(text);
            QFAIL("no error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), message);
        }
    }

    void intToStr() {
        QCOMPARE(IntToStr(5), QStringLiteral("5"));
        QCOMPARE(IntToStr(105), QStringLiteral("105"));
        QCOMPARE(IntToStr(-7), QStringLiteral("-7"));
        QCOMPARE(IntToStr(0), QStringLiteral("0"));
        for (int n : {0, 1, -1, 99, 2147483647, int(-2147483648LL)})
            QCOMPARE(StrToInt(IntToStr(n)), n);
    }

    void codePage1252() {
        // The bytes of the code page where it differs from Latin-1, and the German letters.
        const QByteArray bytes("\x80\x8A\x9F\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x26\x7E", 12);
        const QString text = QString::fromUtf8("€ŠŸÄÖÜäöüß&~");
        QCOMPARE(FromCp1252(bytes), text);
        QCOMPARE(ToCp1252(text), bytes);
    }

    void everyByteSurvivesARoundTrip() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = FromCp1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(ToCp1252(text), all);
    }

    void charactersOutsideTheCodePageBecomeQuestionMarks() {
        QCOMPARE(ToCp1252(QString::fromUtf8("a→b")), QByteArray("a?b"));
        QCOMPARE(ToCp1252(QString::fromUtf8("😀x")), QByteArray("?x")); // one character, not two halves
        QCOMPARE(ToCp1252(QString(QChar(0xD800))), QByteArray("?"));
        QCOMPARE(ToCp1252(QString(QChar(0x0100))), QByteArray("?"));
    }
};

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
