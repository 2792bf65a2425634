#pragma once

#include "map/MapPages.h"
#include "map/MapView.h"

#include <QFrame>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>
#include <thread>

// The map's place in the main window (child id 100), and the main window's way to the map view. The view
// itself comes from the map module (see MapView), loaded by LoadModule() on a worker thread and created here
// once loaded; until then the panel looks like the view before its browser starts (a bordered area of the
// map's ground colour),
// and keeps what it is asked: the last page, position, track and page inputs are handed to the view when it
// comes. The window asks for the module after the first frame of row 0 is painted, so the browser engine
// never weighs on the start; the view then starts its browser as it always did.
class MapPanel : public QFrame, public MapView
{
    Q_OBJECT
public:
    explicit MapPanel(QWidget* parent = nullptr);
    ~MapPanel() override;

    QWidget* widget() override { return this; }
    void NavigateToPage(int stringId) override;
    void SetPosition(const QString& longitude, const QString& latitude) override;
    void SetTrack(const QList<mappages::TrackPoint>& points) override;
    void SetPageInput(const QString& name, const QString& text) override;

    // Starts loading the module; the view is made when it is loaded (ViewCreated). Later calls do nothing.
    void LoadModule();
    bool HasView() const { return m_view != nullptr; }
    MapView* view() const { return m_view; }
    // The page asked for last (string id), 0 before any.
    int requestedPage() const { return m_page; }

    // Where the module is looked for: the viewer's library folder (the executable's folder in a build tree).
    static QString ModulePath();

Q_SIGNALS:
    void SeekRequested(qint64 timeMs);
    void AppCommand(const QString& command);
    // The view is there (loaded is false when the module could not be loaded; the panel then stays empty).
    void ViewCreated(bool loaded);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createView(bool loaded);

    QWidget* m_client = nullptr;
    MapView* m_view = nullptr;
    std::thread m_loader;
    bool m_loadStarted = false;
    int m_page = 0;
    bool m_hasPosition = false;
    QString m_longitude;
    QString m_latitude;
    bool m_hasTrack = false;
    QList<mappages::TrackPoint> m_track;
    QList<QPair<QString, QString>> m_pageInputs;
};
