#include "form/KeyStrength.h"

#include <QLocale>
#include <cmath>

QString KeyStrengthText(qsizetype Length, qsizetype Count) {
    if (Length <= 0 || Count <= 0)
        return {};
    const QLocale german(QLocale::German, QLocale::Germany);
    const double bits = double(Length) * std::log2(double(Count));
    return QStringLiteral("Stärke: %1 Bit (%2 Zeichen aus %3)")
        .arg(german.toString(bits, 'f', 1), german.toString(Length), german.toString(Count));
}
