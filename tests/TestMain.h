#pragma once

#include "platform/ErrorHandler.h"
#include "platform/TApplication.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Runs a Qt Test class inside the program's own application object, so that errors leaving a
// handler reach the top-level handler as in the program. It runs in a working directory of its own:
// the settings file of wherever the tests were started stays untouched, and test programs running
// side by side do not share one.
template <typename TestClass> int RunTest(int argc, char** argv) {
    TApplication application;
    application.Initialize();
    QTemporaryDir workingDirectory;
    if (!workingDirectory.isValid() || !QDir::setCurrent(workingDirectory.path()))
        return 2;
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

#define ZADRIN_TEST_MAIN(TestClass)                                                                          \
    int main(int argc, char** argv) {                                                                        \
        return RunTest<TestClass>(argc, argv);                                                               \
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
