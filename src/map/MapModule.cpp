// The entry of the map module (libkorvane_map.so), resolved by name by MapPanel.
#include "map/CHtmlMap.h"
#include "map/MapView.h"

extern "C" __attribute__((visibility("default"))) MapView* korvane_create_map_view(QWidget* parent)
{
    auto* map = new CHtmlMap(parent);
    return map;
}
