#pragma once

#include "sensor/SidecarDataFile.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// The map pages and the rules around them that need no browser: their addresses, the default page, the map
// providers, the track text a page reads from its input, and the "app:" addresses a page navigates to.
namespace mappages {

// The pages are served by the viewer itself under this scheme and host; nothing goes over the network.
inline constexpr char kScheme[] = "korvane";
inline constexpr char kHost[] = "maps.korvane";
inline constexpr char kPathPrefix[] = "/_mapapi/korvane/";
// Links of a page that must not navigate; the view hands them to its application-command hook.
inline constexpr char kAppScheme[] = "app";

// String ids of the page addresses.
inline constexpr int kGooglePageString = 201;
inline constexpr int kNaverPageString = 202;
inline constexpr int kDaumPageString = 203;

// The page the map opens with: Naver in Korea, else the table's Google page.
int DefaultPageStringId(int countryCode);

struct Provider
{
    int menuCommand; // 32803, 32805, 32806
    int listItem; // entry of the provider list (104), from 1
    int imageId; // picture of the provider button (1032)
    int pageStringId;
};

std::optional<Provider> ProviderForMenuCommand(int command);
std::optional<Provider> ProviderForListItem(int item);

// The resource file a request path names: ":/map/<file>" for "/_mapapi/korvane/<file>" when <file> is a
// plain file name of letters, digits, '_', '-' and '.'; empty for anything else (other folders, "..").
QString ResourceForPath(const QString& urlPath);

// The content type a served file is sent with.
QByteArray MimeTypeForFile(const QString& fileName);

// One second of the drive as the track input carries it: the recording time and the "%lf" texts.
struct TrackPoint
{
    int64_t timeMs = 0;
    QString lon;
    QString lat;
};

// The drive of a data file as the track: for every second 0 .. seconds - 1 whose GPS sample is valid, its
// time and the "%lf" texts the position setter gets too. sampleAt is the data file's lookup by playback time.
QList<TrackPoint> TrackFromGps(int seconds, const std::function<sidecar::GpsSample(int64_t timeMs)>& sampleAt);

// "time,lon,lat" per point, joined by ';'. Points whose texts are not plain decimal numbers are left out,
// so a stray text can never break the page's parsing.
QString TrackText(const QList<TrackPoint>& points);

// True for an address whose scheme is "app" in any case.
bool IsAppAddress(const QString& address);

// The address a page navigates to when the user clicks the track at a point recorded at timeMs, and the
// time read back from the rest of such an address ("seek?ms=N"); nothing for any other command.
QString SeekAddress(int64_t timeMs);
std::optional<int64_t> SeekTimeFromCommand(const QString& command);

} // namespace mappages
