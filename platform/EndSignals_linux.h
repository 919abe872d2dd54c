#pragma once

#include <csignal>

// The signals that ask a program to end: SIGTERM, SIGHUP and SIGINT.
sigset_t EndSignals();

// From now until OnEndOfSession takes over, a request to end ends the process at once, by that signal:
// before the window exists there is nothing to save. A signal that came ignored stays ignored. The end
// signals are unblocked, also where they cannot be caught (then they keep their default).
void EndAtOnceWhenAskedTo();
