#include "platform/Clipboard.h"

#include <QMimeData>

QMimeData* MarkedText(const QString& Text) {
    auto* data = new QMimeData;
    data->setText(Text);
    for (const auto& [format, bytes] : SecretMarks())
        data->setData(format, bytes);
    return data;
}
