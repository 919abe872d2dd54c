#include "platform/Clipboard.h"

// Windows' registered clipboard formats (a MIME name becomes the format of exactly that name): the first
// keeps the data out of clipboard history and cloud clipboard whatever it holds; the other two say so
// again as the DWORD 0.
QList<std::pair<QString, QByteArray>> SecretMarks() {
    return {{QStringLiteral("ExcludeClipboardContentFromMonitorProcessing"), QByteArray("\x01\0\0\0", 4)},
            {QStringLiteral("CanIncludeInClipboardHistory"), QByteArray("\0\0\0\0", 4)},
            {QStringLiteral("CanUploadToCloudClipboard"), QByteArray("\0\0\0\0", 4)}};
}
