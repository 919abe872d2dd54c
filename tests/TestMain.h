#pragma once

#include "ErrorHandler.h"
#include "TApplication.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Runs a Qt Test class inside the program's own application object, so that errors leaving a
// handler reach the top-level handler as in the program.
#define ZADRIN_TEST_MAIN(TestClass)                                                                          \
    int main(int argc, char** argv) {                                                                        \
        TApplication application;                                                                            \
        application.Initialize();                                                                            \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

// Collects what the top-level handler reports instead of showing a modal box.
class ReportedErrors {
public:
    ReportedErrors() {
        SetErrorReporter([this](const QString& message) { messages.append(message); });
    }
    ~ReportedErrors() { SetErrorReporter(nullptr); }
    ReportedErrors(const ReportedErrors&) = delete;
    ReportedErrors& operator=(const ReportedErrors&) = delete;

    QStringList messages;
};
