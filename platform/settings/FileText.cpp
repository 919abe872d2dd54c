#include "platform/settings/FileText.h"

#include "platform/settings/CodePage1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr char utf8Mark[] = "\xEF\xBB\xBF";
constexpr char utf16LEMark[] = "\xFF\xFE";
constexpr char utf16BEMark[] = "\xFE\xFF";

QStringConverter::Encoding Utf16Of(FileText::Encoding encoding) {
    return encoding == FileText::Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}
} // namespace

std::optional<FileText> FileText::Decode(QByteArrayView Bytes) {
    if (Bytes.startsWith(utf8Mark))
        return FileText{Encoding::Utf8, Bytes.sliced(3).toByteArray()};
    const bool littleEndian = Bytes.startsWith(utf16LEMark);
    if (!littleEndian && !Bytes.startsWith(utf16BEMark))
        return FileText{Encoding::Cp1252, Bytes.toByteArray()};

    FileText text{littleEndian ? Encoding::Utf16LE : Encoding::Utf16BE, {}};
    const QByteArrayView body = Bytes.sliced(2);
    QStringDecoder decode(Utf16Of(text.encoding), QStringConverter::Flag::Stateless);
    const QString decoded = decode(body);
    text.Lines = decoded.toUtf8();
    if (decode.hasError() || text.Encode() != Bytes)
        return std::nullopt;
    return text;
}

QByteArray FileText::Encode() const {
    switch (encoding) {
    case Encoding::Cp1252:
        return Lines;
    case Encoding::Utf8:
        return utf8Mark + Lines;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    QStringEncoder encode(Utf16Of(encoding), QStringConverter::Flag::Stateless);
    const QByteArray body = encode(QString::fromUtf8(Lines));
    return (encoding == Encoding::Utf16LE ? utf16LEMark : utf16BEMark) + body;
}

QString FileText::Value(QByteArrayView Bytes) const {
    return encoding == Encoding::Cp1252 ? FromCp1252(Bytes) : QString::fromUtf8(Bytes);
}

QByteArray FileText::Bytes(QStringView Text) const {
    return encoding == Encoding::Cp1252 ? ToCp1252(Text) : Text.toUtf8();
}
