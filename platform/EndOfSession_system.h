#pragma once

#include <functional>

class QObject;

// The system's own part of OnEndOfSession: its signals, where it has them.
void OnEndSignals(QObject* Context, const std::function<void()>& Handler);
