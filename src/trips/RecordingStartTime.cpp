#include "trips/RecordingStartTime.h"

#include <QDateTime>

namespace {

int digitsAt(const QString& text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace

std::optional<int64_t> RecordingStartTime::FromBaseName(const QString& baseName)
{
    if (baseName.size() < 15 || baseName.size() > 16 || baseName.at(8) != QLatin1Char('_'))
        return std::nullopt;
    const int year = digitsAt(baseName, 0, 4);
    const int month = digitsAt(baseName, 4, 2);
    const int day = digitsAt(baseName, 6, 2);
    const int hour = digitsAt(baseName, 9, 2);
    const int minute = digitsAt(baseName, 11, 2);
    const int second = digitsAt(baseName, 13, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
}

QString RecordingStartTime::IsoText(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}
