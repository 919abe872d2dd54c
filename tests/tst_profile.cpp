// The settings file's format, read and written as bytes, and the file itself: code page 1252,
// damaged and unwritable files, and a save cut off half-way.
#include "TestFiles.h"
#include "platform/Exception.h"
#include "platform/TIniFile.h"
#include "platform/settings/Profile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using OptionalValue = std::optional<QByteArray>;
Q_DECLARE_METATYPE(OptionalValue)

namespace {
// One value saved as the program saves: written, then the file updated.
void Save(const QString& path, const QString& section, const QString& key, const QString& value) {
    TIniFile ini(path);
    ini.WriteString(section, key, value);
    ini.UpdateFile();
}

QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding) {
    const QByteArray mark = encoding == QStringConverter::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    return mark + QStringEncoder(encoding)(text);
}

#ifdef Q_OS_UNIX
ino_t Inode(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}
#endif
} // namespace

class TestProfile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;

private slots:
    void init() {
        path = dir.filePath("Zadrin.ini");
        QFile::remove(path);
    }

    void read_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<OptionalValue>("value");
        const OptionalValue missing;
        QTest::newRow("plain") << QByteArray("[Option]\r\nKG=G\r\n") << QByteArray("Option")
                               << QByteArray("KG") << OptionalValue("G");
        QTest::newRow("names ignore case") << QByteArray("[oPTION]\r\nkg=G\r\n") << QByteArray("Option")
                                           << QByteArray("KG") << OptionalValue("G");
        QTest::newRow("no such key") << QByteArray("[Option]\r\nL=8\r\n") << QByteArray("Option")
                                     << QByteArray("KG") << missing;
        QTest::newRow("no such section")
            << QByteArray("[CheckBox]\r\nKG=G\r\n") << QByteArray("Option") << QByteArray("KG") << missing;
        QTest::newRow("key before any section")
            << QByteArray("KG=G\r\n[Option]\r\n") << QByteArray("Option") << QByteArray("KG") << missing;
        QTest::newRow("key of the next section") << QByteArray("[Option]\r\n[Other]\r\nKG=G\r\n")
                                                 << QByteArray("Option") << QByteArray("KG") << missing;
        QTest::newRow("first of two keys") << QByteArray("[A]\r\nk=1\r\nK=2\r\n") << QByteArray("A")
                                           << QByteArray("k") << OptionalValue("1");
        QTest::newRow("first of two sections") << QByteArray("[A]\r\nk=1\r\n[a]\r\nk=2\r\n")
                                               << QByteArray("A") << QByteArray("k") << OptionalValue("1");
        QTest::newRow("only the first section counts")
            << QByteArray("[A]\r\nx=1\r\n[A]\r\nk=2\r\n") << QByteArray("A") << QByteArray("k") << missing;
        QTest::newRow("empty value is not missing")
            << QByteArray("[A]\r\nk=\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("");
        QTest::newRow("spaces and tabs around") << QByteArray(" \t[ A ] \r\n  k \t=  v w \t\r\n")
                                                << QByteArray("A") << QByteArray("k") << OptionalValue("v w");
        QTest::newRow("double quotes") << QByteArray("[A]\r\nk=\"  x \"\r\n") << QByteArray("A")
                                       << QByteArray("k") << OptionalValue("  x ");
        QTest::newRow("single quotes")
            << QByteArray("[A]\r\nk='y'\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("y");
        QTest::newRow("quotes that do not match")
            << QByteArray("[A]\r\nk=\"z'\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("\"z'");
        QTest::newRow("a lone quote")
            << QByteArray("[A]\r\nk=\"\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("\"");
        QTest::newRow("only one pair is removed") << QByteArray("[A]\r\nk=\"\"q\"\"\r\n") << QByteArray("A")
                                                  << QByteArray("k") << OptionalValue("\"q\"");
        QTest::newRow("comment") << QByteArray("[A]\r\n;k=1\r\n k=2\r\n") << QByteArray("A")
                                 << QByteArray("k") << OptionalValue("2");
        QTest::newRow("line without =")
            << QByteArray("[A]\r\nk\r\nk=3\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("3");
        QTest::newRow("= in the value")
            << QByteArray("[A]\r\nk=a=b\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("a=b");
        QTest::newRow("LF only") << QByteArray("[A]\nx=1\n[B]\nk=v\n") << QByteArray("B") << QByteArray("k")
                                 << OptionalValue("v");
        QTest::newRow("CR only") << QByteArray("[A]\rx=1\r[B]\rk=v\r") << QByteArray("B") << QByteArray("k")
                                 << OptionalValue("v");
        QTest::newRow("CR CR LF") << QByteArray("[Option]\r\r\nKG=G\r\r\n") << QByteArray("Option")
                                  << QByteArray("KG") << OptionalValue("G");
        QTest::newRow("mixed line ends, no final one")
            << QByteArray("[A]\r\nx=1\n[B]\r\nk=v") << QByteArray("B") << QByteArray("k")
            << OptionalValue("v");
        QTest::newRow("NUL and binary bytes")
            << Bytes("\0\xFF\x01\r\n[A]\r\n\0\r\nk=\x01\0\xFE\r\n") << QByteArray("A") << QByteArray("k")
            << OptionalValue(QByteArray("\x01\0\xFE", 3));
        QTest::newRow("header without ]")
            << QByteArray("[A\r\nk=1\r\n") << QByteArray("A") << QByteArray("k") << OptionalValue("1");
    }

    void read() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(OptionalValue, value);
        QCOMPARE(Profile::Read(text, section, key), value);
    }

    void write_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("S") << QByteArray("k") << QByteArray("v")
                                  << QByteArray("[S]\r\nk=v\r\n");
        QTest::newRow("value replaced, name kept")
            << QByteArray("[s]\r\nKEY = old \r\nz=1\r\n") << QByteArray("S") << QByteArray("key")
            << QByteArray("new") << QByteArray("[s]\r\nKEY=new\r\nz=1\r\n");
        QTest::newRow("key after the last non-blank line")
            << QByteArray("[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n") << QByteArray("A") << QByteArray("k")
            << QByteArray("v") << QByteArray("[A]\r\nx=1\r\n; note\r\nk=v\r\n\r\n[B]\r\ny=2\r\n");
        QTest::newRow("section at the end")
            << QByteArray("; mine\r\n[A]\r\nx=1\r\n") << QByteArray("B") << QByteArray("k") << QByteArray("v")
            << QByteArray("; mine\r\n[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
        QTest::newRow("no final line end, key")
            << QByteArray("[A]\r\nx=1") << QByteArray("A") << QByteArray("k") << QByteArray("v")
            << QByteArray("[A]\r\nx=1\r\nk=v\r\n");
        QTest::newRow("no final line end, section")
            << QByteArray("[A]\r\nx=1") << QByteArray("B") << QByteArray("k") << QByteArray("v")
            << QByteArray("[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
        QTest::newRow("LF-only lines kept")
            << QByteArray("[A]\nx=1\n;c\n[B]\ny=2\nz=3\n") << QByteArray("B") << QByteArray("y")
            << QByteArray("9") << QByteArray("[A]\nx=1\n;c\n[B]\ny=9\r\nz=3\n");
        QTest::newRow("first of two keys")
            << QByteArray("[A]\r\nk=1\r\nk=2\r\n") << QByteArray("a") << QByteArray("K") << QByteArray("9")
            << QByteArray("[A]\r\nk=9\r\nk=2\r\n");
        QTest::newRow("first of two sections")
            << QByteArray("[A]\r\nx=1\r\n[A]\r\nk=2\r\n") << QByteArray("A") << QByteArray("k")
            << QByteArray("9") << QByteArray("[A]\r\nx=1\r\nk=9\r\n[A]\r\nk=2\r\n");
        QTest::newRow("last line ended by CR")
            << QByteArray("[A]\r\nx=1\r") << QByteArray("A") << QByteArray("k") << QByteArray("v")
            << QByteArray("[A]\r\nx=1\rk=v\r\n");
        QTest::newRow("header ended by CR") << QByteArray("[A]\r") << QByteArray("A") << QByteArray("k")
                                            << QByteArray("v") << QByteArray("[A]\rk=v\r\n");
        QTest::newRow("CR-only lines kept")
            << QByteArray("[A]\rx=1\r[B]\ry=2\rz=3\r") << QByteArray("B") << QByteArray("y")
            << QByteArray("9") << QByteArray("[A]\rx=1\r[B]\ry=9\r\nz=3\r");
        QTest::newRow("CR CR LF lines kept")
            << QByteArray("[A]\r\r\nx=1\r\r\n") << QByteArray("A") << QByteArray("k") << QByteArray("v")
            << QByteArray("[A]\r\r\nx=1\rk=v\r\n\r\n"); // a new line goes after the last non-blank one
        QTest::newRow("empty section") << QByteArray("[A]\r\n\r\n\r\n") << QByteArray("A") << QByteArray("k")
                                       << QByteArray("v") << QByteArray("[A]\r\nk=v\r\n\r\n\r\n");
        QTest::newRow("spaces kept by quotes") << QByteArray() << QByteArray("A") << QByteArray("k")
                                               << QByteArray(" 8 ") << QByteArray("[A]\r\nk=\" 8 \"\r\n");
        QTest::newRow("quotes kept by quotes") << QByteArray() << QByteArray("A") << QByteArray("k")
                                               << QByteArray("'x'") << QByteArray("[A]\r\nk=\"'x'\"\r\n");
        QTest::newRow("line breaks become spaces")
            << QByteArray() << QByteArray("A") << QByteArray("k") << QByteArray("a\r\nb\nc")
            << QByteArray("[A]\r\nk=a  b c\r\n");
    }

    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, after);
        const QByteArray written = Profile::Write(before, section, key, value);
        QCOMPARE(written, after);
        if (!value.contains('\n'))
            QCOMPARE(Profile::Read(written, section, key), OptionalValue(value));
    }

    void everyValueReadsBackAsWritten() {
        const QList<QByteArray> values = {"",
                                          " ",
                                          "\"",
                                          "\"\"",
                                          "''",
                                          " a",
                                          "a ",
                                          "\ta\t",
                                          "\"a\"",
                                          "'a'",
                                          "a=b",
                                          ";x",
                                          "[x]",
                                          QByteArray(300, 'T'),
                                          QByteArray("\xE4\x00", 2)};
        for (const QByteArray& value : values) {
            const QByteArray text = Profile::Write("[A]\r\nk=1\r\n", "A", "k", value);
            QCOMPARE(Profile::Read(text, "A", "k"), OptionalValue(value));
            QCOMPARE(Profile::Write(text, "A", "k", value), text); // the same value again changes nothing
        }
    }

    void codePage1252BothWays() {
        Save(path, "Option", "L", QString::fromUtf8("äß€Ü→"));
        const TIniFile ini(path);
        QCOMPARE(Contents(path), QByteArray("[Option]\r\nL=\xE4\xDF\x80\xDC?\r\n"));
        Store(path, "[Option]\r\nL=\x80\x9F\xE4\r\n");
        QCOMPARE(ini.ReadString("Option", "L", "8"), QString::fromUtf8("€Ÿä"));
    }

    void fileEncodings_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QString text = QString::fromUtf8("; Notiz ä€\r\n[CheckBox]\r\nWert=TF\r\n[Option]\r\nL=%1\r\n");
        QTest::newRow("code page 1252")
            << QByteArray("; Notiz \xE4\x80\r\n[CheckBox]\r\nWert=TF\r\n[Option]\r\nL=\xE4\r\n")
            << QByteArray("; Notiz \xE4\x80\r\n[CheckBox]\r\nWert=TF\r\n[Option]\r\nL=\xF6\r\n");
        QTest::newRow("UTF-8 with mark") << "\xEF\xBB\xBF" + text.arg(QStringLiteral("ä")).toUtf8()
                                         << "\xEF\xBB\xBF" + text.arg(QStringLiteral("ö")).toUtf8();
        QTest::newRow("UTF-16 little-endian")
            << Utf16(text.arg(QStringLiteral("ä")), QStringConverter::Utf16LE)
            << Utf16(text.arg(QStringLiteral("ö")), QStringConverter::Utf16LE);
        QTest::newRow("UTF-16 big-endian") << Utf16(text.arg(QStringLiteral("ä")), QStringConverter::Utf16BE)
                                           << Utf16(text.arg(QStringLiteral("ö")), QStringConverter::Utf16BE);
        QTest::newRow("CR only") << QByteArray("[CheckBox]\rWert=TF\r[Option]\rKG=G\rL=\xE4\r")
                                 << QByteArray("[CheckBox]\rWert=TF\r[Option]\rKG=G\rL=\xF6\r\n");
        QTest::newRow("CR CR LF") << QByteArray("[CheckBox]\r\r\nWert=TF\r\r\n[Option]\r\r\nL=\xE4\r\r\n")
                                  << QByteArray("[CheckBox]\r\r\nWert=TF\r\r\n[Option]\r\r\nL=\xF6\r\n\r\n");
    }

    void fileEncodings() {
        // Read as the editor that saved it meant it, written back in the same form, no other byte changed.
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Store(path, before);
        const TIniFile ini(path);
        QCOMPARE(ini.ReadString("CheckBox", "Wert", ""), QStringLiteral("TF"));
        QCOMPARE(ini.ReadString("Option", "L", "8"), QStringLiteral("ä"));
        TIniFile writer(path);
        writer.WriteString("CheckBox", "Wert", "TF");
        writer.WriteString("Option", "L", QStringLiteral("ö"));
        writer.UpdateFile();
        QCOMPARE(Contents(path), after);
    }

    void brokenUtf16IsNeitherReadNorReplaced() {
        const QByteArray odd = Utf16("[Option]\r\nL=12\r\n", QStringConverter::Utf16LE) + 'x';
        Store(path, odd);
        QCOMPARE(TIniFile(path).ReadString("Option", "L", "8"), QStringLiteral("8"));
        QVERIFY_THROWS_EXCEPTION(Exception, Save(path, "Option", "L", "9"));
        QCOMPARE(Contents(path), odd);
    }

    void valuesGatherUntilTheFileIsUpdated() {
        Store(path, "[A]\r\nk=1\r\n");
        {
            TIniFile ini(path);
            ini.WriteString("A", "k", "2");
            ini.WriteString("B", "k", "3");
            QCOMPARE(ini.ReadString("A", "k", ""), QStringLiteral("1")); // the file is still the old one
        } // released without an update, as when the close stops half-way: nothing written
        QCOMPARE(Contents(path), QByteArray("[A]\r\nk=1\r\n"));
    }

    void missingFileAndKeysGiveTheDefault() {
        const TIniFile ini(path);
        QCOMPARE(ini.ReadString("Option", "KG", "K"), QStringLiteral("K"));
        Store(path, "[Option]\r\nKG=\r\n");
        QCOMPARE(ini.ReadString("Option", "KG", "K"), QString());
        QCOMPARE(ini.ReadString("Option", "L", "8"), QStringLiteral("8"));
    }

    void windowsStylePathNamesTheSameFile() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        Save(".\\Zadrin.ini", "A", "k", "v");
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(Contents(path), QByteArray("[A]\r\nk=v\r\n"));
    }

    void damagedFilesReadAsDefaults() {
        const TIniFile ini(path);
        QByteArray binary;
        for (int i = 0; i < 100000; ++i)
            binary.append(char((i * 7919) % 256));
        Store(path, binary);
        QCOMPARE(ini.ReadString("Option", "L", "8"), QStringLiteral("8"));
        Store(path, "[Option]\r\nL=" + QByteArray(5'000'000, 'x') + "\r\n"); // one very long line
        QCOMPARE(ini.ReadString("Option", "L", "8").size(), 5'000'000);
        Store(path, QByteArray(17 * 1024 * 1024, '\n')); // too large to be a settings file
        QCOMPARE(ini.ReadString("Option", "L", "8"), QStringLiteral("8"));
    }

    void aDirectoryOfThatNameIsNeitherReadNorReplaced() {
        QVERIFY(QDir(dir.path()).mkdir("Zadrin.ini"));
        QCOMPARE(TIniFile(path).ReadString("Option", "L", "8"), QStringLiteral("8"));
        try {
            Save(path, "Option", "L", "12");
            QFAIL("no error");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().contains(QDir::toNativeSeparators(path)), qPrintable(e.Message()));
            QVERIFY(e.Message().startsWith("Die Einstellungen konnten nicht"));
        }
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY(QDir(dir.path()).rmdir("Zadrin.ini"));
    }

    void unwritableDirectoryIsReportedAndTheFileStays() {
        // A directory that has gone away cannot take the file, whoever runs the test.
        QTemporaryDir gone;
        const QString file = gone.filePath("Zadrin.ini");
        QVERIFY(gone.remove());
        QVERIFY_THROWS_EXCEPTION(Exception, Save(file, "A", "k", "v"));

#ifdef Q_OS_UNIX
        if (::geteuid() == 0)
            return; // the rest needs a user whom file permissions stop
#else
        return; // read-only folders do not stop writing files on Windows
#endif
        // Neither a new file nor writing in place: the folder takes no file, and the file takes no writing.
        Store(path, "[A]\r\nk=alt\r\n");
        const auto restore = qScopeGuard([this] {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        });
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY_THROWS_EXCEPTION(Exception, Save(path, "A", "k", "neu"));
        QCOMPARE(Contents(path), QByteArray("[A]\r\nk=alt\r\n"));
    }

#ifdef Q_OS_UNIX // files are told apart by their inode
    void writingTheSameValueLeavesTheFileAlone() {
        Save(path, "A", "k", "v");
        const ino_t before = Inode(path);
        Save(path, "a", "K", "v");
        QCOMPARE(Inode(path), before);
        Save(path, "A", "k", "w");
        QVERIFY(Inode(path) != before); // replaced whole, not rewritten in place
    }
#endif

#ifdef Q_OS_UNIX // owners, modes and hard links of POSIX
    void theFileStaysWhatItWas() {
        // Owner, group and permissions are kept; another user's file stays theirs when root saves it.
        Store(path, "[A]\r\nk=1\r\n");
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        Save(path, "A", "k", "2");
        struct stat s {};
        QCOMPARE(::stat(name.constData(), &s), 0);
        QCOMPARE(s.st_mode & 07777, mode_t(0640));
        if (root)
            QVERIFY(s.st_uid == 65534 && s.st_gid == 65534);

        // Both names of a hard-linked file see the new content.
        const QString other = dir.filePath("Zweitname.ini");
        QFile::remove(other);
        QCOMPARE(::link(name.constData(), QFile::encodeName(other).constData()), 0);
        Save(path, "A", "k", "3");
        QCOMPARE(Contents(other), QByteArray("[A]\r\nk=3\r\n"));
        QCOMPARE(Inode(other), Inode(path));
        QVERIFY(QFile::remove(other));
        if (!root)
            QSKIP("handing the file to another user needs root");
    }
#endif

#ifdef Q_OS_UNIX // owners, modes and hard links of POSIX
    void aFileANewOneCouldNotStandInForIsSavedInPlace_data() {
        QTest::addColumn<bool>("folderTakesNewFiles");
        QTest::addColumn<bool>("fileOfAnotherUser"); // writable by all: a new file could not be theirs
        QTest::newRow("folder takes no new file") << false << false;
        QTest::newRow("another user's file") << true << true;
    }

    void aFileANewOneCouldNotStandInForIsSavedInPlace() {
        QFETCH(bool, folderTakesNewFiles);
        QFETCH(bool, fileOfAnotherUser);
        // Root plays the user, 65534; the file is the user's own unless it is another's.
        const bool root = ::geteuid() == 0;
        if (fileOfAnotherUser && !root)
            QSKIP("another user's file needs root to set up");
        QTemporaryDir folder;
        const QString file = folder.filePath("Zadrin.ini");
        const QByteArray name = QFile::encodeName(file);
        Store(file, "[A]\r\nk=1\r\n");
        const ino_t before = Inode(file);
        QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), folderTakesNewFiles ? 0777 : 0555), 0);
        const uid_t owner = fileOfAnotherUser ? 0 : 65534;
        if (root)
            QCOMPARE(::chown(name.constData(), owner, owner), 0);
        if (fileOfAnotherUser)
            QCOMPARE(::chmod(name.constData(), 0666), 0);
        const pid_t child = root ? ::fork() : 0;
        if (child == 0) {
            bool saved = false;
            if (!root || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
                try {
                    Save(file, "A", "k", "2");
                    saved = true;
                } catch (const Exception&) {
                }
            }
            if (root)
                ::_exit(saved ? 0 : 1);
            QVERIFY(saved);
        } else {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        QCOMPARE(Contents(file), QByteArray("[A]\r\nk=2\r\n"));
        QCOMPARE(Inode(file), before); // the same file, written in place
        struct stat s {};
        QCOMPARE(::stat(name.constData(), &s), 0);
        if (root)
            QCOMPARE(s.st_uid, owner);
        QCOMPARE(::chmod(QFile::encodeName(folder.path()).constData(), 0700), 0);
    }
#endif

#ifdef Q_OS_UNIX // symbolic links
    void aLinkIsFollowedEvenToAFileNotThereYet() {
        const QString target = dir.filePath("echt.ini");
        QFile::remove(target);
        QVERIFY(QFile::link(target, path));
        Save(path, "A", "k", "v");
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(Contents(target), QByteArray("[A]\r\nk=v\r\n"));
        QVERIFY(QFile::remove(path) && QFile::remove(target));

        // Into a folder that does not exist: the message says where the link points.
        QVERIFY(QFile::link(dir.filePath("fehlt/echt.ini"), path));
        try {
            Save(path, "A", "k", "v");
            QFAIL("no error");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().contains(QDir::toNativeSeparators(dir.filePath("fehlt/echt.ini"))),
                     qPrintable(e.Message()));
        }
        QVERIFY(QFile::remove(path));
    }
#endif

    void aSaveCutOffHalfWayLeavesAWholeFile() {
        // A writer that saves large values without end, killed while saving: the file is always one
        // whole version, never a cut one.
        const QByteArray original = "; mine\r\n[Option]\r\nL=8\r\n";
        Store(path, original);
        QProcess writer;
        writer.start(QStringLiteral(INI_WRITER), {path});
        QVERIFY(writer.waitForStarted());
        // Into the second save, so that the file already holds a written version.
        for (int saves = 0; saves < 2; saves += int(writer.readAll().count("saving")))
            QVERIFY(writer.waitForReadyRead(10000));
        writer.kill();
        QVERIFY(writer.waitForFinished());

        const QByteArray text = Contents(path);
        QVERIFY(text.startsWith("; mine\r\n[Option]\r\nL="));
        const QByteArray value = Profile::Read(text, "Option", "L").value();
        QVERIFY(value == "8" || value == QByteArray(8 << 20, 'a') || value == QByteArray(8 << 20, 'b'));
    }
};

QTEST_APPLESS_MAIN(TestProfile)
#include "tst_profile.moc"
