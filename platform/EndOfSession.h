#pragma once

#include <functional>

class QObject;

// From now until OnEndOfSession takes over, a request to end (SIGTERM, SIGHUP, SIGINT) ends the process at
// once and successfully: before the window exists there is nothing to save. Call first thing in main.
void EndAtOnceWhenAskedTo();

// Runs Handler on the event loop, while Context lives, whenever the process is asked to end: by the
// system (SIGTERM, SIGHUP or SIGINT where there are signals), and when the desktop session ends (log-out,
// shut-down). Install it once.
void OnEndOfSession(QObject* Context, std::function<void()> Handler);

// The system's own part of OnEndOfSession: its signals, where it has them.
void OnEndSignals(QObject* Context, const std::function<void()>& Handler);
