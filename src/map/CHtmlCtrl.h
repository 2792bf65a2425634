#pragma once

#include <QColor>
#include <QFrame>
#include <QString>
#include <QUrl>

class QWebEngineView;
class QWebEnginePage;

// A web view usable as an ordinary child control: a bordered frame holding the browser. The browser is made
// only when StartBrowser() is called (creating it starts the browser engine, which is too slow for the
// moments before the first video frame); addresses navigated to before that are kept and loaded then.
//
// Three flags adjust the browser's placement after every completed navigation (and on every resize): it is
// put at (-2, -2) and made 4 pixels larger than the visible area, plus a scroll bar's width and height when
// the first and second flag are set, so that its own edge and scroll bars lie outside the view. The third
// flag alone only enables the adjustment.
//
// Every navigation is asked first: an address with the scheme "app" (any case) is cancelled and the rest of
// the address goes to OnAppCmd(), which does nothing here. Key and wheel events reach the page; keys the page
// does not use go on to the parent window.
class CHtmlCtrl : public QFrame
{
    Q_OBJECT
public:
    explicit CHtmlCtrl(QWidget* parent = nullptr);
    ~CHtmlCtrl() override;

    void SetPlacementFlags(bool widen, bool heighten, bool adjust);
    // What the view shows before the browser and its first page are there (white by default).
    void SetBackgroundColor(const QColor& color);

    // Creates the browser and loads the pending address. Does nothing once the browser exists.
    void StartBrowser();
    bool HasBrowser() const { return m_browser != nullptr; }
    QWebEngineView* browser() const { return m_browser; }
    QWebEnginePage* page() const;

    // Navigates to address (no flags, frame, headers or post data).
    void Navigate(const QString& address);
    // The address last asked for, also while the browser does not exist yet.
    QString requestedAddress() const { return m_requested; }
    // True while a document is shown: from the first completed load on, and false after a failed one. A
    // navigation in progress leaves the current document (and this flag) as they were.
    bool IsDocumentLoaded() const { return m_documentLoaded; }

    // The before-navigate rule; false cancels the navigation.
    bool OnBeforeNavigate(const QUrl& url);

Q_SIGNALS:
    // After every navigation that completed (ok) or failed.
    void DocumentComplete(bool ok);

protected:
    // Gets the rest of every "app:" address a page navigated to.
    virtual void OnAppCmd(const QString& command);
    virtual void OnNavigateComplete(bool ok);

    void resizeEvent(QResizeEvent* event) override;

private:
    void placeBrowser();

    QWidget* m_client = nullptr;
    QWebEngineView* m_browser = nullptr;
    QString m_requested;
    QColor m_background = Qt::white;
    bool m_documentLoaded = false;
    bool m_cancelledNavigation = false;
    bool m_widen = false;
    bool m_heighten = false;
    bool m_adjust = false;
};
