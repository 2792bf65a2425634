#include "map/CHtmlMap.h"

#include "app/StringTables.h"
#include "map/MapSchemeHandler.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>

CHtmlMap::CHtmlMap(QWidget* parent)
    : CHtmlCtrl(parent)
{
    setObjectName(QStringLiteral("CHtmlMap"));
    SetPlacementFlags(true, true, true);
    // The ground of the map pages' grid, so that the view never flashes white while the engine starts.
    SetBackgroundColor(QColor::fromRgb(kMapGroundRgb));
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, &CHtmlCtrl::StartBrowser);
}

void CHtmlMap::PrepareBrowserEngine()
{
    if (!QCoreApplication::instance())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    MapSchemeHandler::RegisterSchemes();
}

void CHtmlMap::NavigateToPage(int stringId)
{
    Navigate(StringById(stringId));
}

void CHtmlMap::SetPosition(const QString& longitude, const QString& latitude)
{
    m_hasPosition = true;
    m_longitude = longitude;
    m_latitude = latitude;
    if (IsDocumentLoaded())
        writeInputs({ { QStringLiteral("X"), longitude }, { QStringLiteral("Y"), latitude } });
}

void CHtmlMap::SetTrack(const QList<mappages::TrackPoint>& points)
{
    m_track = mappages::TrackText(points);
    if (IsDocumentLoaded())
        writeInputs({ { QStringLiteral("TRACK"), m_track } });
}

void CHtmlMap::SetPageInput(const QString& name, const QString& text)
{
    auto same = [&name](const QPair<QString, QString>& v) { return v.first == name; };
    m_pageInputs.removeIf(same);
    m_pageInputs.append({ name, text });
    if (IsDocumentLoaded())
        writeInputs({ { name, text } });
}

QString CHtmlMap::InputWalkScript(const QList<QPair<QString, QString>>& values)
{
    QJsonArray names;
    QJsonArray texts;
    for (const auto& [name, text] : values) {
        names.append(name);
        texts.append(text);
    }
    const QString n = QString::fromUtf8(QJsonDocument(names).toJson(QJsonDocument::Compact));
    const QString t = QString::fromUtf8(QJsonDocument(texts).toJson(QJsonDocument::Compact));
    // Every element of the document in order; a text input whose name equals one of the names exactly gets
    // that value. No early stop, no events: the page notices the values by itself.
    return QStringLiteral("(function (names, texts) {"
                          "  var all = document.getElementsByTagName('*');"
                          "  for (var i = 0; i < all.length; i++) {"
                          "    var e = all[i];"
                          "    if (!(e instanceof HTMLInputElement) || e.type !== 'text') continue;"
                          "    var k = names.indexOf(e.name);"
                          "    if (k >= 0) e.value = texts[k];"
                          "  }"
                          "})(%1, %2);")
        .arg(n, t);
}

void CHtmlMap::writeInputs(const QList<QPair<QString, QString>>& values)
{
    QWebEnginePage* p = page();
    if (!p)
        return;
    // A world of our own: the document's elements are shared with the page, its script functions are not.
    p->runJavaScript(InputWalkScript(values), QWebEngineScript::ApplicationWorld);
}

void CHtmlMap::OnAppCmd(const QString& command)
{
    Q_EMIT AppCommand(command);
    if (const std::optional<int64_t> ms = mappages::SeekTimeFromCommand(command))
        Q_EMIT SeekRequested(*ms);
}

void CHtmlMap::OnNavigateComplete(bool ok)
{
    CHtmlCtrl::OnNavigateComplete(ok);
    if (!ok)
        return;
    QList<QPair<QString, QString>> values = m_pageInputs;
    if (!m_track.isEmpty())
        values.append({ QStringLiteral("TRACK"), m_track });
    if (m_hasPosition) {
        values.append({ QStringLiteral("X"), m_longitude });
        values.append({ QStringLiteral("Y"), m_latitude });
    }
    if (!values.isEmpty())
        writeInputs(values);
}

void CHtmlMap::showEvent(QShowEvent* event)
{
    CHtmlCtrl::showEvent(event);
    if (!HasBrowser() && !m_startTimer.isActive())
        m_startTimer.start();
}
