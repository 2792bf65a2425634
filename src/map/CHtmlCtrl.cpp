#include "map/CHtmlCtrl.h"

#include "map/MapPages.h"
#include "map/MapSchemeHandler.h"

#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QPalette>
#include <QResizeEvent>
#include <QStyle>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The browser's own edge, hidden outside the view.
constexpr int kBrowserEdge = 2;

// Asks the control about every navigation of the page.
class CHtmlCtrlPage : public QWebEnginePage
{
public:
    CHtmlCtrlPage(QWebEngineProfile* profile, CHtmlCtrl* ctrl)
        : QWebEnginePage(profile, ctrl)
        , m_ctrl(ctrl)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        return m_ctrl->OnBeforeNavigate(url);
    }

private:
    CHtmlCtrl* m_ctrl;
};

} // namespace

CHtmlCtrl::CHtmlCtrl(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    // The client area clips the browser, whose edge and scroll bars may lie outside it.
    m_client = new QWidget(this);
    m_client->setAutoFillBackground(true);
    m_client->setGeometry(contentsRect());
    SetBackgroundColor(m_background);

    // The browser draws into a texture that the window composes with OpenGL. A window first shown without
    // such a child composes in software, and switches when the browser arrives: the window is made again
    // and shows black for a moment. A texture-drawn child that is never shown (and so never sets up any
    // drawing of its own) makes the window compose that way from its first showing on.
    // Only window systems that compose with OpenGL; elsewhere (the offscreen platform of the tests) the
    // browser draws in software and there is nothing to switch.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform == QLatin1String("wayland")) {
        auto* composition = new QOpenGLWidget(m_client);
        composition->setObjectName(QStringLiteral("CHtmlCtrlComposition"));
        composition->setGeometry(0, 0, 1, 1);
        composition->hide();
    }
}

CHtmlCtrl::~CHtmlCtrl()
{
    // The page goes before the view that shows it.
    if (m_browser) {
        QWebEnginePage* p = m_browser->page();
        m_browser->setPage(nullptr);
        delete p;
    }
}

void CHtmlCtrl::SetPlacementFlags(bool widen, bool heighten, bool adjust)
{
    m_widen = widen;
    m_heighten = heighten;
    m_adjust = adjust;
    placeBrowser();
}

void CHtmlCtrl::SetBackgroundColor(const QColor& color)
{
    m_background = color;
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, color);
    m_client->setPalette(palette);
    if (m_browser)
        m_browser->page()->setBackgroundColor(color);
}

QWebEnginePage* CHtmlCtrl::page() const
{
    return m_browser ? m_browser->page() : nullptr;
}

void CHtmlCtrl::StartBrowser()
{
    if (m_browser)
        return;
    QWebEngineProfile* profile = MapSchemeHandler::MapProfile();
    m_browser = new QWebEngineView(m_client);
    auto* page = new CHtmlCtrlPage(profile, this);
    page->setBackgroundColor(m_background);
    m_browser->setPage(page);
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    // A file dropped on the view would replace the page; drops belong to the window around it.
    m_browser->setAcceptDrops(false);
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        // A navigation we cancelled ends as a failed load, yet the document it started from is still there
        // and keeps taking positions.
        if (!ok && m_cancelledNavigation) {
            m_cancelledNavigation = false;
            return;
        }
        m_cancelledNavigation = false;
        m_documentLoaded = ok;
        OnNavigateComplete(ok);
        Q_EMIT DocumentComplete(ok);
    });
    m_browser->setGeometry(m_client->rect());
    m_browser->show();
    if (!m_requested.isEmpty())
        m_browser->setUrl(QUrl(m_requested));
}

void CHtmlCtrl::Navigate(const QString& address)
{
    m_requested = address;
    if (!m_browser)
        return;
    if (mappages::IsAppAddress(address)) {
        // Typed into the control directly: the same rule as a link.
        OnBeforeNavigate(QUrl(address));
        return;
    }
    m_browser->setUrl(QUrl(address));
}

bool CHtmlCtrl::OnBeforeNavigate(const QUrl& url)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    if (mappages::IsAppAddress(address)) {
        m_cancelledNavigation = true;
        OnAppCmd(address.mid(int(qstrlen(mappages::kAppScheme)) + 1));
        return false;
    }
    return true;
}

void CHtmlCtrl::OnAppCmd(const QString&)
{
}

void CHtmlCtrl::OnNavigateComplete(bool)
{
    placeBrowser();
}

void CHtmlCtrl::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_client->setGeometry(contentsRect());
    placeBrowser();
}

void CHtmlCtrl::placeBrowser()
{
    if (!m_browser)
        return;
    const QRect client = m_client->rect();
    if (!(m_widen || m_heighten || m_adjust)) {
        m_browser->setGeometry(client);
        return;
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int width = client.width() + 2 * kBrowserEdge + (m_widen ? bar : 0);
    const int height = client.height() + 2 * kBrowserEdge + (m_heighten ? bar : 0);
    m_browser->setGeometry(-kBrowserEdge, -kBrowserEdge, width, height);
}
