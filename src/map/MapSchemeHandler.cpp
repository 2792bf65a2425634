#include "map/MapSchemeHandler.h"

#include "map/MapNetworkGate.h"
#include "map/MapPages.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

MapSchemeHandler::MapSchemeHandler(QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
{
}

void MapSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = job->requestUrl();
    if (url.scheme() != QLatin1String(mappages::kScheme) || url.host() != QLatin1String(mappages::kHost)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString resource = mappages::ResourceForPath(url.path());
    QFile file(resource);
    if (resource.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* body = new QBuffer(job);
    body->setData(file.readAll());
    job->reply(mappages::MimeTypeForFile(resource), body);
}

void MapSchemeHandler::RegisterSchemes()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;

    QWebEngineUrlScheme pages(mappages::kScheme);
    pages.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    pages.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
    // Secure, so that a page may show the tiles of an https tile server; local files stay out of reach.
    pages.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(pages);

    // Registered so that a navigation to "app:..." is an ordinary navigation the view is asked about (and
    // cancels), rather than a hand-over to the desktop's handler of unknown schemes.
    QWebEngineUrlScheme app(mappages::kAppScheme);
    app.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    app.setFlags(QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(app);
}

QWebEngineProfile* MapSchemeHandler::MapProfile()
{
    static QWebEngineProfile* profile = nullptr;
    if (profile)
        return profile;
    RegisterSchemes();
    profile = new QWebEngineProfile(QCoreApplication::instance());
    QObject::connect(profile, &QObject::destroyed, [] { profile = nullptr; });
    auto* handler = new MapSchemeHandler(profile);
    profile->installUrlSchemeHandler(mappages::kScheme, handler);
    profile->installUrlSchemeHandler(mappages::kAppScheme, handler);
    profile->setUrlRequestInterceptor(new MapNetworkGate(profile));
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    return profile;
}
