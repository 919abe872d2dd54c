#pragma once

#include <QString>
#include <functional>

// The top-level error handler: reports the exception being handled (call it inside a catch block).
// The message goes to a message box unless a reporter is installed.
void ShowCurrentException() noexcept;

// The message that ShowCurrentException would report for the exception being handled.
QString CurrentExceptionMessage();

// Replaces the message box, so that tests read messages without a modal box; an empty one restores it.
using ErrorReporter = std::function<void(const QString& Message)>;
void SetErrorReporter(ErrorReporter Reporter);
