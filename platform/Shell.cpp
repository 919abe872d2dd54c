#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

void ShellOpen(const QString& Text) {
    QDesktopServices::openUrl(QUrl::fromUserInput(Text));
}
