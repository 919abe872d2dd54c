#include "platform/EndOfSession.h"
#include "platform/EndOfSession_system.h"
#include "platform/EndSignals_linux.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A signal handler may do next to nothing: before the event loop listens it ends the process by the
// signal, after that it writes the signal's number as a byte that the loop reads. The pipe is closed on
// exec, so no program started from here holds it, and never blocks the handler: a full pipe already says
// all there is to say. Whichever thread takes the signal reads the flag: a lock-free atomic.
constexpr int endSignals[] = {SIGTERM, SIGHUP, SIGINT};
int signalPipe[2] = {-1, -1};
std::atomic<bool> loopListens{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int endedBy = 0; // the first end signal the loop read

// The signal's default action: raised from its own handler, it stays pending until the handler returns.
void EndBy(int Signal) {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(Signal, &byDefault, nullptr);
    raise(Signal);
}

extern "C" void NoteSignal(int Signal) {
    if (!loopListens.load()) {
        EndBy(Signal);
        return;
    }
    // The code this interrupts may be about to read errno (a failed save's message does): a full pipe
    // (EAGAIN) must not change it.
    const int interrupted = errno;
    const char byte = char(Signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = interrupted;
    // The loop may have stopped listening while this wrote: then nobody reads the byte for certain.
    if (!loopListens.load())
        EndBy(Signal);
}

// Installs the handler for each end signal that did not come ignored (started with nohup, or in the
// background of a script). Without a pipe, none: the signals keep their default and end the process unsaved.
bool HandleEndSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : endSignals) {
        struct sigaction inherited {};
        sigaction(signal, nullptr, &inherited);
        if (inherited.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
    return true;
}

// Catches the end signals (once), and lets through those held back until now.
void CatchEndSignals() {
    [[maybe_unused]] static const bool handled = HandleEndSignals();
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
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0)
            if (!endedBy)
                endedBy = bytes[0];
        Handler();
    });
    loopListens.store(true);
}

void EndAsSignalled() {
    // From here on a signal ends the process at once. One that came since the loop last read the pipe is
    // still in it: it ends the process as well, as the first one would have.
    loopListens.store(false);
    char byte = 0;
    if (!endedBy && signalPipe[0] >= 0 && ::read(signalPipe[0], &byte, 1) == 1)
        endedBy = byte;
    if (!endedBy)
        return;
    // Unblocked in this thread, the raised signal ends the process at once.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, endedBy);
    sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    EndBy(endedBy);
}
