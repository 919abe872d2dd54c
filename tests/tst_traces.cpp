// Keys leave no traces: once "clear" empties the history, a new key replaces the old one and the
// window closes, no copy of the keys they removed is left anywhere in the process's memory.
#include "FormFixture.h"
#include "TestMain.h"
#include "platform/Random.h"
#include "platform/Secrecy.h"

#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <future>
#include <random>
#include <sodium.h>
#include <thread>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace {
// The test holds keys only masked, so that it leaves no copy of its own for the scan to find.
constexpr unsigned char mask = 0xA5;
constexpr int comparedCharacters = 24;

// How characters from a key's middle look in memory: as 8-bit text and as UTF-16, each masked. The
// middle, because an allocator keeps its own bookkeeping in the first bytes of a freed block.
QList<QByteArray> MaskedForms(const QList<char16_t>& MaskedKey) {
    QByteArray narrow, wide;
    const qsizetype middle = (MaskedKey.size() - comparedCharacters) / 2;
    for (qsizetype i = middle; i < middle + comparedCharacters; ++i) {
        narrow.append(char(MaskedKey[i]));
        wide.append(char(MaskedKey[i])).append(char(mask)); // the high byte of an ASCII character is 0
    }
    return {narrow, wide};
}

#ifdef Q_OS_WIN
// The readable memory of this process, as begin and end addresses.
QList<std::pair<quint64, quint64>> ReadableRegions() {
    QList<std::pair<quint64, quint64>> regions;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (region.State == MEM_COMMIT && (region.Protect & readable) && !(region.Protect & PAGE_GUARD))
            regions.append({quint64(region.BaseAddress), quint64(region.BaseAddress) + region.RegionSize});
    }
    return regions;
}

qint64 ReadMemory(quint64 At, unsigned char* Buffer, quint64 Bytes) {
    SIZE_T read = 0;
    ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(At), Buffer, Bytes, &read);
    return qint64(read);
}
#else
QList<std::pair<quint64, quint64>> ReadableRegions() {
    QList<std::pair<quint64, quint64>> regions;
    QFile maps("/proc/self/maps");
    if (!maps.open(QIODevice::ReadOnly))
        return regions;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2 || !fields[1].startsWith('r') || line.contains("[vvar") ||
            line.contains("[vsyscall"))
            continue;
        const QList<QByteArray> range = fields[0].split('-');
        regions.append({range[0].toULongLong(nullptr, 16), range[1].toULongLong(nullptr, 16)});
    }
    return regions;
}

// Opened while the process lets itself be read for that moment: protected, its /proc files are root's, and
// a user other than root could not open them.
int OwnMemory() {
    const int dumpable = prctl(PR_GET_DUMPABLE);
    prctl(PR_SET_DUMPABLE, 1);
    const int memory = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    prctl(PR_SET_DUMPABLE, dumpable);
    return memory;
}

qint64 ReadMemory(quint64 At, unsigned char* Buffer, quint64 Bytes) {
    static const int memory = OwnMemory();
    return ::pread(memory, Buffer, Bytes, off_t(At));
}

// What this process holds locked in memory, in kB.
qint64 LockedKilobytes() {
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmLck:"))
                return line.mid(6).simplified().split(' ').front().toLongLong();
    return -1;
}

// Whether the page at Address is locked in memory.
bool IsLocked(const void* Address) {
    QFile mappings("/proc/self/smaps");
    if (!mappings.open(QIODevice::ReadOnly))
        return false;
    const quint64 at = quintptr(Address);
    bool inside = false;
    for (const QByteArray& line : mappings.readAll().split('\n')) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (first.contains('-')) { // a mapping begins: "begin-end rw-p …"
            const QList<QByteArray> range = first.split('-');
            inside = range[0].toULongLong(nullptr, 16) <= at && at < range[1].toULongLong(nullptr, 16);
        } else if (inside && first == "VmFlags:") {
            return line.split(' ').contains("lo");
        }
    }
    return false;
}
#endif

// How many places in the readable memory of this process hold each of the masked byte sequences.
QList<int> CopiesInMemory(const QList<QByteArray>& Masked) {
    QList<int> copies(Masked.size(), 0);
    constexpr qsizetype chunk = 4 << 20, overlap = 2 * comparedCharacters;
    std::vector<unsigned char> buffer(chunk + overlap);
    std::array<bool, 256> mayStart{}; // by masked first byte
    for (const QByteArray& needle : Masked)
        mayStart[uchar(needle[0])] = true;
    for (const auto& [begin, end] : ReadableRegions()) {
        for (quint64 at = begin; at < end; at += chunk) {
            const qint64 read = ReadMemory(at, buffer.data(), std::min<quint64>(chunk + overlap, end - at));
            for (qint64 i = 0; i + 2 * comparedCharacters <= read && i < chunk; ++i) {
                if (!mayStart[buffer[size_t(i)] ^ mask])
                    continue;
                for (qsizetype n = 0; n < Masked.size(); ++n) {
                    const QByteArray& needle = Masked[n];
                    qsizetype k = 0;
                    while (k < needle.size() && (buffer[size_t(i + k)] ^ mask) == uchar(needle[k]))
                        ++k;
                    copies[n] += k == needle.size();
                }
            }
        }
    }
    return copies;
}
} // namespace

class TestTraces : public QObject {
    Q_OBJECT
    std::mt19937 draws{20261208};
    QList<QList<char16_t>> keys; // masked, in the order made

    // Makes a key of letters and digits from known draws, keeping it masked.
    void MakeKey() {
        QList<char16_t> masked;
        ScopedRandIntSource source([&](int n) {
            const int r = std::uniform_int_distribution<int>(0, n - 1)(draws);
            masked.append(char16_t(Box(TForm1::FirstCharacterBox + r)->text().front().unicode() ^ mask));
            return r;
        });
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        keys.append(masked);
    }

    QList<int> Copies(qsizetype First, qsizetype Count) const {
        QList<QByteArray> forms;
        for (qsizetype k = First; k < First + Count; ++k)
            forms += MaskedForms(keys[k]);
        const QList<int> copies = CopiesInMemory(forms);
        QList<int> perKey;
        for (qsizetype k = 0; k < Count; ++k)
            perKey.append(copies[2 * k] + copies[2 * k + 1]);
        return perKey;
    }

private slots:
    // Allocators keep small and large blocks apart (lists by size, large ones in memory of their
    // own), so keys of both kinds.
    void noCopyOfARemovedKeyIsLeft_data() {
        QTest::addColumn<int>("keyLength");
        QTest::newRow("short keys") << 64;
        QTest::newRow("long keys") << 30000;
    }

    void noCopyOfARemovedKeyIsLeft() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer's allocator keeps freed memory as it was, to find faults");
#endif
        QFETCH(const int, keyLength);
        keys.clear();
        CreateMainForm();
        Form1->show();
        CheckOnly(Range(5, 66)); // letters and digits: one byte each as 8-bit text
        Form1->LabeledEdit1->setText(QString::number(keyLength));
        for (int i = 0; i < 20; ++i)
            MakeKey();
        QTest::mouseClick(Form1->Button3, Qt::LeftButton); // clear
        MakeKey();
        QApplication::processEvents();

        QVERIFY2(Copies(20, 1).front() > 0, "the scan does not find the key on show"); // the scan works
        QCOMPARE(Copies(0, 20), QList<int>(20, 0));

        QVERIFY(Form1->close());
        QApplication::processEvents();
        QCOMPARE(Copies(20, 1), QList<int>{0});
    }

#ifdef Q_OS_LINUX
    // Started protected, the process still answers a request to end: the end signals, held back while
    // it starts, are not held back for good.
    void theEndSignalsAreNotHeldBack() {
        sigset_t blocked;
        QCOMPARE(pthread_sigmask(SIG_BLOCK, nullptr, &blocked), 0);
        for (const int signal : {SIGTERM, SIGHUP, SIGINT})
            QVERIFY2(!sigismember(&blocked, signal),
                     qPrintable(QStringLiteral("signal %1 blocked").arg(signal)));
        QVERIFY(ProtectionsHad().Unreadable);
    }

    // The random source keeps nothing of what it gave (RandInt(256) hands out its keystream as it is):
    // the bytes drawn are nowhere in memory once taken, nor the block they were cut from.
    void theRandomSourceKeepsNoDraw() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer's shadow memory is terabytes to scan");
#endif
        QByteArray masked;
        for (int i = 0; i < 3000; ++i)
            masked.append(char(RandInt(256) ^ mask));
        const QByteArray middle = masked.mid(1500, comparedCharacters);
        QCOMPARE(CopiesInMemory({middle}), QList<int>{0});
        // The scan finds such bytes where they are.
        QByteArray shown = middle;
        for (char& byte : shown)
            byte = char(byte ^ mask);
        QVERIFY(CopiesInMemory({middle}).front() > 0);
        shown.fill(0);
    }

    // Once a block is made, nothing in the process (its stack included) holds the key it was made from,
    // which would recompute every draw of that block.
    void theKeyOfAMadeBlockIsGone() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer's shadow memory is terabytes to scan");
#endif
        std::random_device device;
        QByteArray masked;
        std::array<unsigned char, RandomKeyBytes> key;
        for (unsigned char& byte : key) {
            masked.append(char(device()));
            byte = uchar(masked.back()) ^ mask;
        }
        RandomizeFrom(key.data());
        sodium_memzero(key.data(), key.size());
        QVERIFY2(CopiesInMemory({masked}).front() > 0, "the scan does not find the key the source holds");
        // The cipher's vector code holds each word of the key spread over all the lanes of a register.
        QList<QByteArray> forms{masked};
        for (qsizetype word = 0; word < masked.size(); word += 4)
            forms.append(masked.mid(word, 4).repeated(4));
        // The first block is made in a thread that then waits, its stack as the draw left it: the scan's own
        // calls would write over what lies below this thread's.
        std::promise<void> drawn, scanned;
        std::thread drawing([&] {
            RandInt(256);
            drawn.set_value();
            scanned.get_future().wait();
        });
        drawn.get_future().wait();
        const QList<int> copies = CopiesInMemory(forms);
        scanned.set_value();
        drawing.join();
        QCOMPARE(copies, QList<int>(forms.size(), 0));
    }

    // Only the newest key is locked: locking them all would use up the system's limit on locked memory,
    // and later keys would stay unlocked without a word.
    void onlyTheNewestKeyIsLocked() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer takes mlock for nothing");
#endif
        CreateMainForm();
        const qint64 before = LockedKilobytes(); // the random source's state, locked from the start
        Form1->LabeledEdit1->setText(QStringLiteral("20000"));
        for (int i = 0; i < 30; ++i)
            QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        const QString key = Form1->LabeledEdit2->text();
        QCOMPARE(key.size(), 20000);
        QVERIFY2(IsLocked(key.constData()), "the newest key is not locked");
        const qint64 oneKey = (key.size() * qint64(sizeof(QChar)) + 2 * 4096) / 1024; // with its pages' edges
        QVERIFY2(LockedKilobytes() - before <= oneKey,
                 qPrintable(QStringLiteral("%1 kB locked").arg(LockedKilobytes())));
    }
#endif
};

// As the program starts: protected before anything else, then as every other test.
int main(int argc, char** argv) {
    StartProtected(argv);
    return RunTest<TestTraces>(argc, argv);
}
#include "tst_traces.moc"
