#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
bool IsMarked(const QMimeData* data) {
    for (const auto& [format, bytes] : SecretMarks())
        if (!data->hasFormat(format))
            return false;
    return true;
}

void MarkSecret(QMimeData* data) {
    for (const auto& [format, bytes] : SecretMarks())
        data->setData(format, bytes);
}

bool Owns(const QClipboard* clipboard, QClipboard::Mode mode) {
    return mode == QClipboard::Clipboard ? clipboard->ownsClipboard()
                                         : mode == QClipboard::Selection && clipboard->ownsSelection();
}
} // namespace

QMimeData* MarkedText(const QString& Text) {
    auto* data = new QMimeData;
    data->setText(Text);
    MarkSecret(data);
    return data;
}

void MarkEveryCopySecret() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    // The toolkit's edits put plain text there. Before the event loop lets any other program ask for
    // it, the same data goes back marked.
    QObject::connect(clipboard, &QClipboard::changed, clipboard, [clipboard](QClipboard::Mode mode) {
        const QMimeData* data = Owns(clipboard, mode) ? clipboard->mimeData(mode) : nullptr;
        if (!data || IsMarked(data))
            return;
        auto* marked = new QMimeData;
        for (const QString& format : data->formats())
            marked->setData(format, data->data(format));
        MarkSecret(marked);
        clipboard->setMimeData(marked, mode);
    });
}
