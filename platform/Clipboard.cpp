#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace {
// The toolkit's Wayland clipboard (Qt 6.4) never deletes the data it is given: the text of every copy
// would stay in memory until the program ends. So, on Wayland, the text of a copy of ours is dropped
// (and so freed, and overwritten where freed memory is) as soon as it is no longer on its clipboard:
// replaced by the next copy, or by another program's. The data itself is left to the toolkit, which
// newer versions do delete.
class DropReplacedCopies : public QObject {
public:
    explicit DropReplacedCopies(QClipboard* Clipboard)
        : QObject(Clipboard) {
        connect(Clipboard, &QClipboard::changed, this, [this, Clipboard](QClipboard::Mode Mode) {
            if (Mode != QClipboard::Clipboard && Mode != QClipboard::Selection)
                return;
            auto* now = const_cast<QMimeData*>(Clipboard->mimeData(Mode));
            QPointer<QMimeData>& held = Mode == QClipboard::Clipboard ? clipboard : selection;
            if (held && held != now)
                held->clear();
            held = now && now->property(ours).toBool() ? now : nullptr;
        });
    }

    static constexpr char ours[] = "zadrinMarkedCopy";

private:
    QPointer<QMimeData> clipboard, selection;
};

void DropCopiesOnceReplaced() {
    static bool watching = false;
    // The Wayland plugin answers to several names (wayland, wayland-egl, …), one clipboard behind them all.
    if (watching || !QGuiApplication::platformName().startsWith(u"wayland"))
        return;
    watching = true;
    new DropReplacedCopies(QGuiApplication::clipboard());
}
} // namespace

QMimeData* MarkedText(const QString& Text) {
    DropCopiesOnceReplaced();
    auto* data = new QMimeData;
    data->setProperty(DropReplacedCopies::ours, true);
    data->setText(Text);
    for (const auto& [format, bytes] : SecretMarks())
        data->setData(format, bytes);
    return data;
}
