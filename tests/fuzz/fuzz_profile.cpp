// Reads and writes profile text made by the fuzzer. Besides crashes, hangs and bad memory accesses it
// checks that a written value reads back, that writing it again changes nothing, and that every other
// key keeps its value.
#include "platform/Profile.h"

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
    const std::string value = data.ConsumeRandomLengthString(64);
    const std::string text = data.ConsumeRemainingBytesAsString();

    const QByteArray written =
        Profile::Write(QByteArray::fromStdString(text), section, key, QByteArray::fromStdString(value));
    QByteArray expected = QByteArray::fromStdString(value);
    expected.replace('\r', ' ').replace('\n', ' ');
    Check(Profile::Read(written, section, key) == expected);
    Check(Profile::Write(written, section, key, expected) == written);
    if (!(SameName(section, otherSection) && SameName(key, otherKey)))
        Check(Profile::Read(written, otherSection, otherKey) ==
              Profile::Read(QByteArray::fromStdString(text), otherSection, otherKey));
    return 0;
}
