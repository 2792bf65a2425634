#include "app/ViewerEnvironment.h"

#include "platform/SystemLocale.h"

#include <QLocale>

ViewerEnvironment& viewerEnvironment()
{
    static ViewerEnvironment env;
    return env;
}

int DetermineSystemCountryCode()
{
    bool ok = false;
    const int forced = qEnvironmentVariableIntValue("KORVANE_COUNTRY", &ok);
    if (ok)
        return forced;
    return platform::localeCountryDialingCode().value_or(0);
}

QString SkinModuleName(int countryCode)
{
    if (countryCode == kCountryKorea)
        return QStringLiteral("Resource");
    if (countryCode == kCountryJapan)
        return QStringLiteral("ResourceJ");
    return QStringLiteral("ResourceE");
}

QString TierLabel(int tier)
{
    switch (tier) {
    case 0:
        return QStringLiteral("[고사양 PC용 뷰어]");
    case 1:
        return QStringLiteral("[중사양 PC용 뷰어]");
    case 2:
        return QStringLiteral("[저사양 PC용 뷰어]");
    default:
        return QString();
    }
}

int NormaliseTier(int storedValue)
{
    return (storedValue < 0 || storedValue > 2) ? 1 : storedValue;
}

QString StringTableForLanguages(const QStringList& uiLanguages)
{
    // The first language of the list decides, as the system's user-interface language does.
    const QLocale locale(uiLanguages.isEmpty() ? QStringLiteral("C") : uiLanguages.first());
    switch (locale.language()) {
    case QLocale::Korean:
        return QStringLiteral("ko");
    case QLocale::Japanese:
        return QStringLiteral("ja");
    case QLocale::English:
        return locale.territory() == QLocale::Australia ? QStringLiteral("en_AU") : QStringLiteral("en");
    default:
        return QStringLiteral("en");
    }
}
