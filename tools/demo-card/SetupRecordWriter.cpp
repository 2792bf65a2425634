#include "SetupRecordWriter.h"

#include <cstring>

namespace setupwriter {

namespace {

void putText(QByteArray& record, int offset, const char* text)
{
    // 17-byte fields: the text, NUL-terminated, the rest zero.
    const int length = static_cast<int>(std::strlen(text));
    for (int i = 0; i < 17; ++i)
        record[offset + i] = i < length && i < 16 ? text[i] : '\0';
}

void putClock(QByteArray& record, int offset, const QDateTime& clock, bool withSeconds)
{
    const QDate d = clock.date();
    const QTime t = clock.time();
    record[offset] = static_cast<char>(d.year() & 0xff);
    record[offset + 1] = static_cast<char>((d.year() >> 8) & 0xff);
    record[offset + 2] = static_cast<char>(d.month());
    record[offset + 3] = static_cast<char>(d.day());
    record[offset + 4] = static_cast<char>(t.hour());
    record[offset + 5] = static_cast<char>(t.minute());
    if (withSeconds)
        record[offset + 6] = static_cast<char>(t.second());
}

} // namespace

QByteArray makeRecord(Model model, const QDateTime& clock)
{
    const bool echo = model == Model::Echo;
    QByteArray r(echo ? 100 : 26, '\0');
    r[0] = 1; // firmware 1.x
    r[1] = echo ? 4 : 7;
    r[2] = 0; // full frame rate
    r[3] = 76; // (GMT+09:00) Seoul
    r[4] = 1; // recording sound on
    r[5] = 2; // shock sensing: normal
    r[6] = 2; // parking mode: shock and motion
    r[7] = 1; // HD (720P)
    r[8] = 1; // parking shock: normal
    r[9] = 0; // brightness normal
    r[10] = 0;
    r[11] = 1; // motion sensitivity normal
    r[12] = 0; // no alarm sound
    r[13] = 1; // delete by time order
    r[14] = 40; // storage ratios normal / event / parking
    r[15] = 30;
    r[16] = 30;
    r[17] = echo ? 0 : 1; // speed display off
    if (!echo) {
        r[18] = 20; // Charlie
        r[19] = 0; // no clock request
        putClock(r, 20, clock, false);
        return r;
    }
    r[18] = 26; // Echo
    r[19] = 0;
    putClock(r, 20, clock, true);
    r[27] = 0; // FTP off
    r[28] = 0;
    putText(r, 29, "korvane01");
    putText(r, 46, "drive2026");
    r[63] = 0;
    putText(r, 64, "KORVANE_ECHO");
    putText(r, 81, "1234567890");
    r[98] = 0; // voice guidance on
    r[99] = 1; // middle volume
    return r;
}

} // namespace setupwriter
