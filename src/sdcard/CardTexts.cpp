#include "sdcard/CardTexts.h"

QString FormatNumbers(const QString& text, const QList<qint64>& numbers)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 1 < text.size()) {
            if (text[i + 1] == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            if (text[i + 1] == QLatin1Char('d')) {
                out += next < numbers.size() ? QString::number(numbers[next]) : QString();
                ++next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QString CardWarningLine(int countryCode, bool testing)
{
    if (countryCode == 82)
        return {};
    if (countryCode == 81)
        return testing ? QStringLiteral("テストが完了するまでSDカードを抜かないで付けてください.")
                       : QStringLiteral("フォーマットが完了するまでSDカードを抜かないで付けてください.");
    return testing ? QStringLiteral("Please do not remove SD Card until testing is completed.")
                   : QStringLiteral("Please do not remove SD Card until formatting is completed.");
}
