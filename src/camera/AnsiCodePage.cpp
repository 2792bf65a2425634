#include "camera/AnsiCodePage.h"

#include <QStringConverter>

namespace ansicodepage {

QString forLocale(const QLocale& locale)
{
    // Windows picks the ANSI code page from the system locale's language (and, for Chinese, its script).
    switch (locale.language()) {
    case QLocale::Korean:
        return QStringLiteral("windows-949");
    case QLocale::Japanese:
        return QStringLiteral("windows-31j");
    case QLocale::Chinese:
        return locale.script() == QLocale::TraditionalHanScript ? QStringLiteral("Big5")
                                                                 : QStringLiteral("windows-936");
    case QLocale::Thai:
        return QStringLiteral("windows-874");
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Serbian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
        return QStringLiteral("windows-1251");
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Romanian:
        return QStringLiteral("windows-1250");
    case QLocale::Greek:
        return QStringLiteral("windows-1253");
    case QLocale::Turkish:
        return QStringLiteral("windows-1254");
    case QLocale::Hebrew:
        return QStringLiteral("windows-1255");
    case QLocale::Arabic:
    case QLocale::Persian:
        return QStringLiteral("windows-1256");
    case QLocale::Vietnamese:
        return QStringLiteral("windows-1258");
    default:
        return QStringLiteral("windows-1252");
    }
}

QString system()
{
    return forLocale(QLocale::system());
}

QString decode(const QByteArray& bytes, const QString& codePage)
{
    QStringDecoder decoder(codePage.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray encode(const QString& text, const QString& codePage, int maxBytes)
{
    const QByteArray name = codePage.toLatin1();
    const bool known = QStringEncoder(name.constData()).isValid();
    QByteArray out;
    // One character (code point) at a time: each either round-trips through the code page or is written
    // as "?", and the limit is applied on character boundaries. A converter keeps its error once it has
    // one, so each character gets fresh ones.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length;
        QByteArray bytes;
        if (known) {
            QStringEncoder encoder(name.constData());
            QStringDecoder decoder(name.constData());
            bytes = encoder.encode(character);
            if (encoder.hasError() || bytes.isEmpty() || decoder.decode(bytes) != character)
                bytes = QByteArrayLiteral("?");
        } else {
            const char16_t unit = character.at(0).unicode();
            bytes = QByteArray(1, (length == 1 && unit < 0x100) ? static_cast<char>(unit) : '?');
        }
        if (maxBytes >= 0 && out.size() + bytes.size() > maxBytes)
            break;
        out += bytes;
    }
    return out;
}

} // namespace ansicodepage
