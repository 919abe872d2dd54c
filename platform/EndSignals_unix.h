#pragma once

#include <csignal>

// The signals that ask a program to end: SIGTERM, SIGHUP and SIGINT.
sigset_t EndSignals();
