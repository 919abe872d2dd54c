// Reads and writes profile text made by the fuzzer, in each of the encodings a settings file can have.
// Besides crashes, hangs and bad memory accesses it checks that a written value reads back, that writing it
// again changes nothing, and that every other key keeps its value.
#include "platform/settings/FileText.h"
#include "platform/settings/Profile.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace {
// Names as the program uses them: letters and digits.
QByteArray Name(FuzzedDataProvider& data) {
    QByteArray name;
    for (const char c : data.ConsumeRandomLengthString(8))
        name.append(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[static_cast<unsigned char>(c) %
                                                                             62]);
    return name.isEmpty() ? QByteArray("k") : name;
}

bool SameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const QByteArray section = Name(data), key = Name(data);
    const QByteArray otherSection = Name(data), otherKey = Name(data);
    const auto encoding = FileText::Encoding(data.ConsumeIntegralInRange(0, 3));
    QByteArray value = QByteArray::fromStdString(data.ConsumeRandomLengthString(64));
    QByteArray text = QByteArray::fromStdString(data.ConsumeRemainingBytesAsString());

    // The text as an editor saves it: as it is, or UTF-8 or UTF-16 with a mark, read back unchanged.
    if (encoding != FileText::Encoding::Cp1252) {
        text = QString::fromLatin1(text).toUtf8();
        value = QString::fromLatin1(value).toUtf8();
        const auto decoded = FileText::Decode(FileText{encoding, text}.Encode());
        Check(decoded && decoded->encoding == encoding && decoded->Lines == text);
    }

    const QByteArray written = Profile::Write(text, section, key, value);
    if (encoding != FileText::Encoding::Cp1252)
        Check(FileText::Decode(FileText{encoding, written}.Encode())->Lines == written);
    QByteArray expected = value;
    expected.replace('\r', ' ').replace('\n', ' ');
    Check(Profile::Read(written, section, key) == expected);
    Check(Profile::Write(written, section, key, expected) == written);
    if (!(SameName(section, otherSection) && SameName(key, otherKey)))
        Check(Profile::Read(written, otherSection, otherKey) == Profile::Read(text, otherSection, otherKey));
    return 0;
}
