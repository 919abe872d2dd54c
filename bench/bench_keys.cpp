// How fast keys are made and shown: the random source alone, and the whole click on "Key erzeugen"
// with key field and history, for short to very long keys.
// Prints a Markdown table; run it from build/bench (see the README).
#include "form/Unit1.h"
#include "platform/Memory.h"
#include "platform/Random.h"
#include "platform/Secrecy.h"
#include "platform/TApplication.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sodium.h>
#include <vector>

namespace {
// Median seconds of Repeats runs of Work.
template <typename Work> double MedianSeconds(int Repeats, Work work) {
    std::vector<double> seconds;
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::nth_element(seconds.begin(), seconds.begin() + Repeats / 2, seconds.end());
    return seconds[Repeats / 2];
}

// Draws a second of Draw, best of three half-second runs: as many draws as fill the time, so that a slow
// source ends soon.
template <typename Draw> double BestDrawsPerSecond(Draw draw) {
    double best = 0;
    volatile int sink = 0;
    for (int run = 0; run < 3; ++run) {
        long long draws = 0;
        QElapsedTimer timer;
        timer.start();
        for (long long round = 1000; timer.nsecsElapsed() < 500'000'000; round *= 2) {
            for (long long i = 0; i < round; ++i)
                sink = sink + draw();
            draws += round;
        }
        best = std::max(best, double(draws) / (double(timer.nsecsElapsed()) / 1e9));
    }
    return best;
}

// What the cipher alone gives for RandInt(101): its keystream in blocks, a byte a draw, the bytes that
// would bias the draw rejected; no key erasure, no wiping.
int BareCipherDraw() {
    static unsigned char key[crypto_stream_chacha20_KEYBYTES] = {1};
    static unsigned char block[4096];
    static unsigned long long nonce = 0;
    static std::size_t next = sizeof block;
    for (;;) {
        if (next == sizeof block) {
            ++nonce;
            crypto_stream_chacha20(block, sizeof block, reinterpret_cast<const unsigned char*>(&nonce), key);
            next = 0;
        }
        const unsigned product = block[next++] * 101u;
        if ((product & 0xFF) >= 256u % 101u)
            return int(product >> 8);
    }
}

int RepeatsFor(int length) {
    return length <= 10000 ? 201 : length <= 1000000 ? 7 : 3;
}
} // namespace

// bench_keys [--wipe] [length ...]
// With --wipe, the process is protected as the program protects itself (freed memory wiped), to
// show what that costs; on Windows the wiping is part of the build (ZADRIN_WIPE_FREED).
// Lengths default to 8, 10 000, 1 000 000 and 10 000 000 characters.
int main(int argc, char** argv) {
    const bool wipe = argc > 1 && std::strcmp(argv[1], "--wipe") == 0;
    std::vector<int> lengths;
    for (int i = wipe ? 2 : 1; i < argc; ++i)
        lengths.push_back(std::atoi(argv[i]));
    if (lengths.empty())
        lengths = {8, 10'000, 1'000'000, 10'000'000};
    if (wipe)
        StartProtected(argv);
#ifndef _WIN32 // the Windows build has only Windows' own window system (and Wine hands no QT_ variable on)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TApplication application;
    application.Initialize();
    application.CreateForm(Form1);
    for (int n = 1; n <= 4; ++n)
        Form1->findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n))->setChecked(true);
    Form1->show();
    QApplication::processEvents();

    const double source = BestDrawsPerSecond([] { return RandInt(101); });
    const double cipher = BestDrawsPerSecond(BareCipherDraw);
    std::printf("Random source alone: %.1f million draws/s (RandInt(101))\n", source / 1e6);
    std::printf("Bare ChaCha20, a byte a draw with rejection: %.1f million draws/s\n", cipher / 1e6);
    std::printf("The source runs at %.2f of its cipher's speed\n\n", source / cipher);

    std::printf("Freed memory wiped: %s\n\n", ProtectionsHad().FreedMemoryWiped ? "yes" : "no");
    std::printf("| length | whole click, median (ms) | peak memory (MiB) |\n");
    std::printf("|---:|---:|---:|\n");
    for (const int length : lengths) {
        Form1->LabeledEdit1->setText(QString::number(length));
        const double click = MedianSeconds(RepeatsFor(length), [&] {
            Form1->Memo1->clear();
            Form1->Button1->click();
            QApplication::processEvents(); // paints key field and history
        });
        if (Form1->LabeledEdit2->text().size() != length)
            qFatal("the key field does not hold the whole key");
        std::printf("| %d | %.2f | %.0f |\n", length, click * 1e3, double(PeakMemory()) / (1024.0 * 1024.0));
        std::fflush(stdout);
    }
    return 0;
}
