#include "platform/EndOfSession.h"

#include <QGuiApplication>
#include <QSessionManager>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <unistd.h>

namespace {
// A signal handler may do next to nothing: it writes a byte that the event loop reads.
int signalPipe[2] = {-1, -1};

extern "C" void NoteSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void CatchEndSignals(QObject* context, const std::function<void()>& handler) {
    if (::pipe(signalPipe) != 0)
        return; // the signals keep their default: the process ends unsaved, as without this
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler] {
        char bytes[16];
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], bytes, sizeof bytes);
        handler();
    });
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}
} // namespace
#else
namespace {
void CatchEndSignals(QObject*, const std::function<void()>&) {}
} // namespace
#endif

void OnEndOfSession(QObject* Context, std::function<void()> Handler) {
    CatchEndSignals(Context, Handler);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, Context,
                     [Handler](QSessionManager&) { Handler(); });
}
