#include "form/Unit1.h"
#include "platform/EndOfSession.h"
#include "platform/Secrecy.h"
#include "platform/TApplication.h"

#include <QIcon>

// The arguments are not read, only handed on when the program starts itself anew; Qt's Windows entry point
// calls main with them.
int main(int, char** argv) {
    EndAtOnceWhenAskedTo();
    ProtectProcessMemory(argv); // before any key exists
    TApplication application;
    application.Initialize();
    // No display name: the toolkit would add it to every window title, and the window is called "Form1".
    application.setApplicationName(QStringLiteral("Zadrin"));
    application.setApplicationVersion(QStringLiteral(ZADRIN_VERSION));
    application.setDesktopFileName(QStringLiteral("zadrin"));
    application.setWindowIcon(QIcon(QStringLiteral(":/zadrin.png")));
    application.CreateForm(Form1);
    return application.Run();
}
