#include "form/Unit1.h"
#include "platform/Secrecy.h"
#include "platform/TApplication.h"

#include <QDirIterator>
#include <QIcon>

namespace {
// The icon in every size it is drawn in.
QIcon ProgramIcon() {
    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icons")); sizes.hasNext();)
        icon.addFile(sizes.next());
    return icon;
}
} // namespace

// The arguments are not read, only handed on when the program starts itself anew; Qt's Windows entry point
// calls main with them.
int main(int, char** argv) {
    StartProtected(argv); // before any key exists; what cannot be had, the program goes on without
    TApplication application;
    application.Initialize();
    // No display name: the toolkit would add it to every window title, and the window is called "Form1".
    application.setApplicationName(QStringLiteral("Zadrin"));
    application.setApplicationVersion(QStringLiteral(ZADRIN_VERSION));
    application.setDesktopFileName(QStringLiteral("org.example.zadrin"));
    application.setWindowIcon(ProgramIcon());
    application.CreateForm(Form1);
    return application.Run();
}
