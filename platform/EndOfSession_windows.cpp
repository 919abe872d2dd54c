#include "platform/EndOfSession.h"
#include "platform/EndOfSession_system.h"

// Windows has no end signals: the end of the session (and only that) reaches the program as a request
// to close, through the toolkit.
void OnEndSignals(QObject*, const std::function<void()>&) {}

void EndAsSignalled() {}
