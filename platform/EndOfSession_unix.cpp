#include "platform/EndOfSession.h"
#include "platform/EndSignals_unix.h"

#include <QSocketNotifier>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A signal handler may do next to nothing: before the event loop listens it ends the process, after that
// it writes a byte that the loop reads. The pipe is closed on exec, so no program started from here
// holds it, and never blocks the handler: a full pipe already says all there is to say.
constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};
int signalPipe[2] = {-1, -1};
volatile sig_atomic_t loopListens = 0;

extern "C" void NoteSignal(int) {
    if (!loopListens)
        _exit(EXIT_SUCCESS);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// Catches the end signals (once) and lets through those held back while the program started itself anew.
void CatchEndSignals() {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without a pipe the signals keep their default: the process ends unsaved
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : endSignals)
        sigaction(signal, &action, nullptr);
    const sigset_t ending = EndSignals();
    sigprocmask(SIG_UNBLOCK, &ending, nullptr);
}
} // namespace

sigset_t EndSignals() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : endSignals)
        sigaddset(&ending, signal);
    return ending;
}

void EndAtOnceWhenAskedTo() {
    CatchEndSignals();
}

void OnEndSignals(QObject* Context, const std::function<void()>& Handler) {
    CatchEndSignals();
    if (signalPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, Context);
    QObject::connect(notifier, &QSocketNotifier::activated, Context, [Handler] {
        char bytes[64];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        Handler();
    });
    loopListens = 1;
}
