#include "platform/Clipboard.h"

// Honoured by the clipboard managers of KDE (Klipper) and others (CopyQ), and by wl-clipboard.
QList<std::pair<QString, QByteArray>> SecretMarks() {
    return {{QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret")}};
}
