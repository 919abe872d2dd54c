#include "form/KeyLength.h"

#include <QLocale>

QString KeyLengthProblem(int Length, qint64 Available) {
    const QLocale german(QLocale::German, QLocale::Germany);
    if (Length > LongestShownKey)
        return QStringLiteral(
                   "Ein Key kann höchstens %1 Zeichen lang sein. Bitte eine kleinere Stellenzahl wählen.")
            .arg(german.toString(LongestShownKey));
    const qint64 needed = qint64(Length) * BytesPerShownCharacter;
    if (Available < 0 || needed <= Available)
        return {};
    const auto gigabytes = [&german](qint64 bytes) {
        return german.toString(double(bytes) / (1 << 30), 'f', 1);
    };
    return QStringLiteral("Ein Key mit %1 Zeichen braucht etwa %2 GB Arbeitsspeicher, frei sind nur %3 GB. "
                          "Bitte eine kleinere Stellenzahl wählen.")
        .arg(german.toString(Length), gigabytes(needed), gigabytes(Available));
}
