// The map rules that need no browser: default page, providers, served paths, the track text and the "app:"
// addresses.
#include "map/MapPages.h"

#include <gtest/gtest.h>

using namespace mappages;

TEST(MapPages, DefaultPageIsNaverInKoreaElseTheTablesGooglePage)
{
    const std::pair<int, int> cases[] = { { 82, 202 }, { 81, 201 }, { 61, 201 }, { 65, 201 }, { 0, 201 }, { -1, 201 } };
    for (const auto& [country, page] : cases)
        EXPECT_EQ(DefaultPageStringId(country), page) << country;
}

TEST(MapPages, ProvidersByMenuCommandAndListItem)
{
    struct Case
    {
        int command, item, image, page;
    };
    const Case cases[] = { { 32803, 1, 3146, 201 }, { 32805, 2, 3145, 203 }, { 32806, 3, 3147, 202 } };
    for (const Case& c : cases) {
        const auto byCommand = ProviderForMenuCommand(c.command);
        ASSERT_TRUE(byCommand) << c.command;
        EXPECT_EQ(byCommand->imageId, c.image);
        EXPECT_EQ(byCommand->pageStringId, c.page);
        EXPECT_EQ(byCommand->listItem, c.item);
        const auto byItem = ProviderForListItem(c.item);
        ASSERT_TRUE(byItem);
        EXPECT_EQ(byItem->menuCommand, c.command);
    }
    EXPECT_FALSE(ProviderForMenuCommand(32804));
    EXPECT_FALSE(ProviderForMenuCommand(32807));
    EXPECT_FALSE(ProviderForListItem(0));
    EXPECT_FALSE(ProviderForListItem(4));
}

TEST(MapPages, OnlyPlainFilesUnderThePagePathAreServed)
{
    const std::pair<const char*, const char*> cases[] = {
        { "/_mapapi/korvane/map_naver.html", ":/map/map_naver.html" },
        { "/_mapapi/korvane/leaflet.js", ":/map/leaflet.js" },
        { "/_mapapi/korvane/", "" },
        { "/_mapapi/korvane/../i18n/korvane_en.qm", "" },
        { "/_mapapi/korvane/sub/map.js", "" },
        { "/_mapapi/korvane/..", "" },
        { "/_mapapi/korvane/.hidden", "" },
        { "/_mapapi/other/map.js", "" },
        { "/map_naver.html", "" },
        { "/_mapapi/korvane/map%2e.js", "" },
    };
    for (const auto& [path, resource] : cases)
        EXPECT_EQ(ResourceForPath(QString::fromLatin1(path)), QString::fromLatin1(resource)) << path;
}

TEST(MapPages, ContentTypes)
{
    EXPECT_EQ(MimeTypeForFile(":/map/map_google.html"), QByteArray("text/html"));
    EXPECT_EQ(MimeTypeForFile(":/map/leaflet.js"), QByteArray("text/javascript"));
    EXPECT_EQ(MimeTypeForFile(":/map/leaflet.css"), QByteArray("text/css"));
    EXPECT_EQ(MimeTypeForFile(":/map/x.bin"), QByteArray("application/octet-stream"));
}

TEST(MapPages, TrackTextKeepsOnlyDecimalPoints)
{
    const QList<TrackPoint> points = {
        { 0, "127.026130", "37.552057" },
        { 1000, "-0.500000", "-33.868800" },
        { 2000, "127.0;1", "37.5" }, // a separator inside a text would split the point
        { 3000, "", "37.5" },
        { -1000, "127.0", "37.5" },
        { 4000, "1e3", "37.5" },
        { 5000, "127.026200", "37.552100" },
    };
    EXPECT_EQ(TrackText(points),
        QStringLiteral("0,127.026130,37.552057;1000,-0.500000,-33.868800;5000,127.026200,37.552100"));
    EXPECT_EQ(TrackText({}), QString());
}

TEST(MapPages, TrackFromGpsTakesTheValidSecondsWithTheirMapTexts)
{
    // Second 1 has no fix, second 3 is too fast to be true (invalid): both left out of the track.
    const sidecar::GpsSample samples[] = {
        { true, 40, 37.552057, 127.02613 },
        { false, 0, 0.0, 0.0 },
        { true, 42, 37.5521, 127.0262 },
        { false, 301, 37.6, 127.1 },
        { true, 44, -33.8688, 151.2093 },
    };
    QList<int64_t> asked;
    const QList<TrackPoint> track = TrackFromGps(5, [&](int64_t t) {
        asked.append(t);
        return samples[t / 1000];
    });
    EXPECT_EQ(asked, QList<int64_t>({ 0, 1000, 2000, 3000, 4000 }));
    ASSERT_EQ(track.size(), 3);
    EXPECT_EQ(track[0].timeMs, 0);
    EXPECT_EQ(track[0].lon, QStringLiteral("127.026130"));
    EXPECT_EQ(track[0].lat, QStringLiteral("37.552057"));
    EXPECT_EQ(track[1].timeMs, 2000);
    EXPECT_EQ(track[2].timeMs, 4000);
    EXPECT_EQ(track[2].lat, QStringLiteral("-33.868800"));
    EXPECT_EQ(TrackText(track),
        QStringLiteral("0,127.026130,37.552057;2000,127.026200,37.552100;4000,151.209300,-33.868800"));
    EXPECT_TRUE(TrackFromGps(0, [](int64_t) { return sidecar::GpsSample { true, 1, 1.0, 1.0 }; }).isEmpty());
}

TEST(MapPages, AppAddressesInAnyCase)
{
    const std::pair<const char*, bool> cases[] = { { "app:seek?ms=10", true }, { "APP:x", true }, { "App:", true },
        { "apps:x", false }, { "korvane://maps.korvane/app:x", false }, { "http://app:80/", false }, { "", false } };
    for (const auto& [address, app] : cases)
        EXPECT_EQ(IsAppAddress(QString::fromLatin1(address)), app) << address;
}

TEST(MapPages, SeekAddressRoundTrip)
{
    EXPECT_EQ(SeekAddress(12000), QStringLiteral("app:seek?ms=12000"));
    const QString rest = SeekAddress(59000).mid(4);
    ASSERT_TRUE(SeekTimeFromCommand(rest));
    EXPECT_EQ(*SeekTimeFromCommand(rest), 59000);
    for (const char* other : { "seek?ms=", "seek?ms=-5", "seek?ms=12x", "open?ms=12", "anything", "" })
        EXPECT_FALSE(SeekTimeFromCommand(QString::fromLatin1(other))) << other;
}
