#pragma once

#include "map/CHtmlCtrl.h"
#include "map/MapPages.h"
#include "map/MapView.h"

#include <QList>
#include <QTimer>

#include <optional>

// The map view of the main window (child id 100), built into the map module and shown inside MapPanel,
// which hands on what the main window asks of it through this small interface:
//
//   NavigateToDefaultPage(country)   at start: string 202 (Naver) in Korea, else string 201
//   ChooseProvider(command)          menu 32803 / 32805 / 32806 (list 104 items 1..3 map onto them);
//                                    returns the picture id for button 1032, nothing for another command
//   SetPosition(lon, lat)            the "%lf" texts of a valid GPS second
//   SetTrack(points)                 the whole drive of the loaded data file (time ms, lon text, lat text);
//                                    an empty list clears it; mappages::TrackFromGps(gpsCount, lookup)
//                                    makes the list from the data file's GPS lookup
//   SeekRequested(ms)                the user clicked the track at a point recorded at ms into the video
//
// The browser starts kStartDelayMs after the view is first shown (or at once through StartBrowser()), so
// the engine's start-up never competes with the first video frame. Everything asked before that is kept:
// the last page, position and track are given to the page once it has loaded, and again after every page
// change.
//
// The page is never scripted: values reach it only through its text inputs named "X", "Y" and "TRACK",
// written by walking the document's elements from the viewer's side in a script world of its own.
class CHtmlMap : public CHtmlCtrl, public MapView
{
    Q_OBJECT
public:
    static constexpr int kMapViewId = 100;
    static constexpr int kStartDelayMs = 1500;

    explicit CHtmlMap(QWidget* parent = nullptr);

    // For main(), before the application object exists: the browser engine wants shared GL contexts set
    // that early, and the map's URL schemes registered before any browser object. Harmless when skipped
    // (the schemes are then registered when the first browser starts).
    static void PrepareBrowserEngine();

    QWidget* widget() override { return this; }
    void NavigateToPage(int stringId) override;

    void SetPosition(const QString& longitude, const QString& latitude) override;
    void SetTrack(const QList<mappages::TrackPoint>& points) override;
    // Any further input of the pages (the trips' "ROUTE"), kept and written again after every page change
    // like the position and the track; an empty text clears it.
    void SetPageInput(const QString& name, const QString& text) override;

    // The script that sets every text input named by a key of values (exact case), in document order. Public
    // so that tests can check the walk on pages of their own.
    static QString InputWalkScript(const QList<QPair<QString, QString>>& values);

Q_SIGNALS:
    void SeekRequested(qint64 timeMs);
    // Every "app:" command a page navigated to, the seek included.
    void AppCommand(const QString& command);

protected:
    void OnAppCmd(const QString& command) override;
    void OnNavigateComplete(bool ok) override;
    void showEvent(QShowEvent* event) override;

private:
    void writeInputs(const QList<QPair<QString, QString>>& values);

    QTimer m_startTimer;
    bool m_hasPosition = false;
    QString m_longitude;
    QString m_latitude;
    QString m_track;
    QList<QPair<QString, QString>> m_pageInputs;
};
