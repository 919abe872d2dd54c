// A signal that comes once the event loop has ended still ends the process as that signal: sent between
// the loop's end and the check that ends a signalled process, and sent after that check. Each case runs
// in a child process of its own; this one says how each ended.
#include "platform/EndOfSession.h"

#include <QGuiApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
enum class When { BeforeTheCheck, AfterTheCheck };

[[noreturn]] void RunLoopThenSignal(int argc, char** argv, When when) {
    QGuiApplication app(argc, argv);
    OnEndOfSession(&app, [] {});
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    app.exec();
    if (when == When::AfterTheCheck)
        EndAsSignalled();
    std::raise(SIGTERM);
    EndAsSignalled();
    std::_Exit(0);
}
} // namespace

int main(int argc, char** argv) {
    int failed = 0;
    for (const auto& [when, name] : {std::pair{When::BeforeTheCheck, "before the check"},
                                     std::pair{When::AfterTheCheck, "after the check"}}) {
        const pid_t child = fork();
        if (child == 0)
            RunLoopThenSignal(argc, argv, when);
        int status = 0;
        waitpid(child, &status, 0);
        const bool ended = WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM;
        std::printf("SIGTERM %s: %s\n", name, ended ? "ended by it" : "FAIL: the process went on and exited");
        failed += !ended;
    }
    return failed;
}
