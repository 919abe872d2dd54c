#pragma once

#include <functional>

class QObject;

// Runs Handler on the event loop, while Context lives, whenever the process is asked to end: by the
// system (SIGTERM, SIGHUP or SIGINT where there are signals), and when the desktop session ends (log-out,
// shut-down). Install it once.
void OnEndOfSession(QObject* Context, std::function<void()> Handler);

// If a signal asked the process to end, ends it by that signal now, as its default action would have
// (so that a shell, timeout or a service manager sees how it ended); returns otherwise. For when the
// window has closed and saved.
void EndAsSignalled();
