#include "map/MapPanel.h"

#include "app/InstallLayout.h"
#include "app/StartupTrace.h"
#include "map/MapView.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibrary>
#include <QOpenGLWidget>
#include <QPalette>
#include <QResizeEvent>

MapPanel::MapPanel(QWidget* parent)
    : QFrame(parent)
{
    // The look of the view before its browser starts: a one-pixel box around the map's ground.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    m_client = new QWidget(this);
    m_client->setAutoFillBackground(true);
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(kMapGroundRgb));
    m_client->setPalette(palette);
    m_client->setGeometry(contentsRect());

    // The browser draws into a texture that the window composes with OpenGL. A window first shown without
    // such a child composes in software and is made again when one arrives, showing black for a moment:
    // a texture-drawn child that is never shown makes the window compose that way from its first showing
    // on, before the view with its browser comes. Only window systems that compose with OpenGL.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform == QLatin1String("wayland")) {
        auto* composition = new QOpenGLWidget(m_client);
        composition->setObjectName(QStringLiteral("MapPanelComposition"));
        composition->setGeometry(0, 0, 1, 1);
        composition->hide();
    }
}

MapPanel::~MapPanel()
{
    // The loader only loads the module; its result goes nowhere once the panel is gone.
    if (m_loader.joinable())
        m_loader.join();
}

QString MapPanel::ModulePath()
{
    return QDir(installlayout::LibraryFolder()).filePath(QLatin1String(kMapModuleFile));
}

void MapPanel::LoadModule()
{
    if (m_loadStarted)
        return;
    m_loadStarted = true;
    const QString path = ModulePath();
    // Linking the module and the browser engine takes several frames' worth of processor time: it runs
    // beside the playback instead of stopping the window. Only the view is made on this thread.
    m_loader = std::thread([this, path] {
        QLibrary module(path);
        const bool loaded = module.load();
        startuptrace::Mark("map module loaded");
        if (!loaded)
            qWarning("map module: %s", qPrintable(module.errorString()));
        QMetaObject::invokeMethod(
            this, [this, loaded] { createView(loaded); }, Qt::QueuedConnection);
    });
}

void MapPanel::createView(bool loaded)
{
    if (m_loader.joinable())
        m_loader.join();
    MapViewFactory create = nullptr;
    if (loaded) {
        // Already loaded by the worker: this only finds it. The module stays loaded for the process's life
        // (the browser engine cannot be unloaded).
        QLibrary module(ModulePath());
        if (module.load())
            create = reinterpret_cast<MapViewFactory>(module.resolve(kMapViewFactoryName));
    }
    if (create)
        m_view = create(this);
    if (!m_view) {
        Q_EMIT ViewCreated(false);
        return;
    }
    QWidget* widget = m_view->widget();
    // The view brings its own box: it covers the panel's.
    widget->setGeometry(rect());
    connect(widget, SIGNAL(SeekRequested(qint64)), this, SIGNAL(SeekRequested(qint64)));
    connect(widget, SIGNAL(AppCommand(QString)), this, SIGNAL(AppCommand(QString)));
    for (const auto& [name, text] : m_pageInputs)
        m_view->SetPageInput(name, text);
    if (m_hasTrack)
        m_view->SetTrack(m_track);
    if (m_hasPosition)
        m_view->SetPosition(m_longitude, m_latitude);
    if (m_page != 0)
        m_view->NavigateToPage(m_page);
    m_track.clear();
    m_pageInputs.clear();
    widget->show();
    m_client->hide();
    startuptrace::Mark("map view created");
    Q_EMIT ViewCreated(true);
}

void MapPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_client->setGeometry(contentsRect());
    if (m_view)
        m_view->widget()->setGeometry(rect());
}

void MapPanel::NavigateToPage(int stringId)
{
    m_page = stringId;
    if (m_view)
        m_view->NavigateToPage(stringId);
}

void MapPanel::SetPosition(const QString& longitude, const QString& latitude)
{
    if (m_view) {
        m_view->SetPosition(longitude, latitude);
        return;
    }
    m_hasPosition = true;
    m_longitude = longitude;
    m_latitude = latitude;
}

void MapPanel::SetTrack(const QList<mappages::TrackPoint>& points)
{
    if (m_view) {
        m_view->SetTrack(points);
        return;
    }
    m_hasTrack = true;
    m_track = points;
}

void MapPanel::SetPageInput(const QString& name, const QString& text)
{
    if (m_view) {
        m_view->SetPageInput(name, text);
        return;
    }
    auto same = [&name](const QPair<QString, QString>& v) { return v.first == name; };
    m_pageInputs.removeIf(same);
    m_pageInputs.append({ name, text });
}
