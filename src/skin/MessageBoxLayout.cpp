#include "skin/MessageBoxLayout.h"

namespace msgbox {

QRect buttonRect(ButtonSlot slot, int clientWidth, int clientHeight, int style)
{
    int x = clientWidth - 99;
    if (slot == ButtonSlot::Left)
        x = clientWidth - 297;
    else if (slot == ButtonSlot::Middle)
        x = clientWidth - 198;
    int y = clientHeight - 49;
    if (style == 1027) {
        if (slot == ButtonSlot::Right)
            x += 7;
        y += 9;
    }
    return QRect(x, y, kButtonWidth, kButtonHeight);
}

QRect textArea(int clientWidth, int clientHeight)
{
    return QRect(QPoint(clientWidth - 297, 15), QPoint(clientWidth - 15 - 1, clientHeight - 49 - 1));
}

QRect decorationRect(int clientWidth, int clientHeight)
{
    return QRect(QPoint(15, 15), QPoint(clientWidth - 312 - 1, clientHeight - 30 - 1));
}

namespace {

// Closing punctuation that a Japanese or Chinese line never starts with; when a cut would leave one at
// the start of the next line it hangs at the end of the current line instead.
bool neverStartsALine(QChar c)
{
    static const QString closing = QStringLiteral(
        "、。，．・：；？！ー）」』】〕〉》”’ゝゞヽヾ々ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ,.:;?!)]}");
    return closing.contains(c);
}

// Appends the lines of one paragraph (no line breaks inside).
void wrapParagraph(QString rest, int maxWidth, const std::function<int(const QString&)>& widthOf, QStringList& lines)
{
    while (true) {
        if (widthOf(rest) <= maxWidth) {
            lines << rest;
            return;
        }
        // Longest prefix that fits; it is shorter than the whole text since the whole does not fit.
        int lo = 0;
        int hi = rest.size() - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (widthOf(rest.left(mid)) <= maxWidth)
                lo = mid;
            else
                hi = mid - 1;
        }
        const int fit = lo;
        // The overflowing character itself may be the space that ends the line.
        const int space = rest.lastIndexOf(QLatin1Char(' '), fit);
        if (space > 0) {
            lines << rest.left(space);
            rest = rest.mid(space + 1);
        } else {
            int cut = qMax(1, fit);
            while (cut < rest.size() && neverStartsALine(rest.at(cut)))
                ++cut;
            lines << rest.left(cut);
            rest = rest.mid(cut);
        }
        if (rest.isEmpty())
            return;
    }
}

} // namespace

QStringList wrapText(const QString& text, int maxWidth, const std::function<int(const QString&)>& widthOf)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normalised.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs)
        wrapParagraph(paragraph, maxWidth, widthOf, lines);
    return lines;
}

QRect lineBand(int lineCount, int index, const QRect& area)
{
    const int top = area.top();
    const int a = area.bottom() + 1 - top;
    int y = top;
    int h = 0;
    switch (lineCount) {
    case 1:
        y = top + 40;
        h = (top + 80 + a / 2) - y;
        break;
    case 2:
        y = top + 20 + index * (a / 3);
        h = a / 3 + 20;
        break;
    case 3:
        y = top + 10 + index * (a / 4);
        h = a / 4 + 10;
        break;
    case 4:
        y = top + 5 + index * (a / 5);
        h = a / 5 + 5;
        break;
    case 5:
        y = top + index * (a / 6);
        h = a / 6;
        break;
    default:
        if (lineCount <= 0)
            return QRect();
        y = top - 8 + index * (a / lineCount);
        h = a / lineCount + 3;
        break;
    }
    return QRect(area.left(), y, area.width(), h);
}

QString windowsVersionLine(int major, int minor)
{
    if (major == 5)
        return QStringLiteral("[운영체제 버전: 윈도우 XP]");
    if (major == 6 && minor == 0)
        return QStringLiteral("[운영체제 버전: 윈도우 Vista]");
    if (major == 6 && minor == 1)
        return QStringLiteral("[운영체제 버전: 윈도우 7]");
    if (major == 6 && minor == 2)
        return QStringLiteral("[운영체제 버전: 윈도우 8]");
    return QString();
}

} // namespace msgbox
