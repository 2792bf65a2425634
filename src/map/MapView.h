#pragma once

#include "map/MapPages.h"

#include <QList>
#include <QString>

#include <optional>

class QWidget;

// The map view as the viewer sees it. The browser engine behind it is large (most of the program's start
// would go into linking it), so the view lives in a module of its own (libkorvane_map.so beside the viewer's
// library folders) that the viewer loads once the first frame is on the screen; MapPanel stands in for it
// until then. The view is a QWidget with the signals SeekRequested(qint64) and AppCommand(QString).
class MapView
{
public:
    virtual ~MapView() = default;

    virtual QWidget* widget() = 0;
    // String 201, 202 or 203 of the string table in use.
    virtual void NavigateToPage(int stringId) = 0;
    virtual void SetPosition(const QString& longitude, const QString& latitude) = 0;
    virtual void SetTrack(const QList<mappages::TrackPoint>& points) = 0;
    virtual void SetPageInput(const QString& name, const QString& text) = 0;

    // String 202 (Naver) in Korea, else string 201.
    void NavigateToDefaultPage(int countryCode) { NavigateToPage(mappages::DefaultPageStringId(countryCode)); }
    // Menu 32803 / 32805 / 32806: navigates to the provider's page and returns the picture id of button 1032;
    // nothing for another command.
    std::optional<int> ChooseProvider(int menuCommand)
    {
        const std::optional<mappages::Provider> provider = mappages::ProviderForMenuCommand(menuCommand);
        if (!provider)
            return std::nullopt;
        NavigateToPage(provider->pageStringId);
        return provider->imageId;
    }
};

// The ground of the map pages' grid: what the map's place shows until the page is drawn, so that it never
// flashes white while the module and the browser engine start.
inline constexpr unsigned kMapGroundRgb = 0xeef0ea;

// The module's one entry: a new map view, a child of `parent`.
using MapViewFactory = MapView* (*)(QWidget* parent);
inline constexpr const char* kMapViewFactoryName = "korvane_create_map_view";
inline constexpr const char* kMapModuleFile = "libkorvane_map.so";
