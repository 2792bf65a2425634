// The message box word wrap on any text, width and measure. Bytes 0-1 give the width (may be 0 or less),
// byte 2 the measure; the rest is UTF-16 text.
#include "FuzzSupport.h"
#include "skin/MessageBoxLayout.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

QString withoutBreaksAndSpaces(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.remove(QLatin1Char(' '));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int maxWidth = int(int16_t(uint16_t(data[0]) | uint16_t(data[1]) << 8)) % 600;
    const int measure = data[2] % 3;
    QString text;
    for (size_t i = 3; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | data[i + 1] << 8)));

    const auto widthOf = [measure](const QString& s) {
        int w = 0;
        for (QChar c : s) {
            if (measure == 0)
                w += 7;
            else if (measure == 1)
                w += c.unicode() < 0x80 ? 6 : 13;
            else
                w += c.unicode() % 17; // some characters take no room at all
        }
        return w;
    };
    const QStringList lines = msgbox::wrapText(text, maxWidth, widthOf);
    FUZZ_CHECK(lines.size() <= text.size() + 1, "every line takes at least one character");
    FUZZ_CHECK(withoutBreaksAndSpaces(lines.join(QString())) == withoutBreaksAndSpaces(text),
        "only spaces and line breaks are dropped");
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), "no break inside a line");
    }
    const QRect area = msgbox::textArea(msgbox::kWindowWidth, msgbox::kWindowHeight);
    for (int i = 0; i < std::min<int>(int(lines.size()), 8); ++i)
        (void)msgbox::lineBand(int(lines.size()), i, area);
    return 0;
}
