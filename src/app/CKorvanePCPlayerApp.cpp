#include "app/CKorvanePCPlayerApp.h"

#include "app/StartupSettings.h"
#include "app/StringTables.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "skin/SkinModule.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLocale>
#include <QTimer>

#include <unistd.h>

namespace {

// One lock per user: the name of the local socket carries the user id.
QString instanceSocketName()
{
    return QStringLiteral("%1-%2").arg(QLatin1String(CKorvanePCPlayerApp::kInstanceName)).arg(getuid());
}

} // namespace

CKorvanePCPlayerApp::CKorvanePCPlayerApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora Korvane PC Player"));
    setOrganizationName(QStringLiteral("Velmora Korvane"));
    const QStringList args = arguments();
    if (args.size() > 1)
        m_folderArgument = args.at(1);

    // Static environment: the country decides the skin module, the UI language the string table.
    ViewerEnvironment& env = viewerEnvironment();
    env.countryCode = DetermineSystemCountryCode();
    env.skinModuleLoaded = SkinModule::load(applicationDirPath(), SkinModuleName(env.countryCode));
    InstallStringTable(*this, StringTableForLanguages(QLocale::system().uiLanguages()));
}

CKorvanePCPlayerApp::~CKorvanePCPlayerApp()
{
    ExitInstance();
}

bool CKorvanePCPlayerApp::claimSingleInstance()
{
    const QString name = instanceSocketName();
    {
        // A running first instance answers; ask it to come forward.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(300)) {
            probe.write("raise\n");
            probe.waitForBytesWritten(300);
            probe.disconnectFromServer();
            return false;
        }
    }
    m_instanceServer = new QLocalServer(this);
    if (!m_instanceServer->listen(name)) {
        // A socket left behind by a crashed instance: nobody answered above, so it is stale.
        QLocalServer::removeServer(name);
        if (!m_instanceServer->listen(name))
            return false;
    }
    connect(m_instanceServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_instanceServer->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().startsWith("raise"))
                    raiseMainWindow();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
    return true;
}

void CKorvanePCPlayerApp::raiseMainWindow()
{
    if (!m_mainWindow)
        return;
    if (m_mainWindow->isMinimized())
        m_mainWindow->showNormal();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

int CKorvanePCPlayerApp::InitInstance()
{
    ViewerEnvironment& env = viewerEnvironment();
    env.firstInstance = claimSingleInstance();

    StartupHooks hooks;
    hooks.installLibraryVariant = [](int tier) { InstallLibraryVariant(tier); };
    ApplyStartupSettings(SettingsStore::user(), env, hooks);

    m_mainWindow = std::make_unique<CKorvanePCPlayerDlg>(m_folderArgument);
    m_mainWindow->show();
    m_mainWindow->StartMediaPlayer();

    // Lets a script (./run --screenshot) know when the window is on the screen.
    const QString readyFile = qEnvironmentVariable("KORVANE_READY_FILE");
    if (!readyFile.isEmpty()) {
        QTimer::singleShot(1500, this, [readyFile] {
            QFile f(readyFile);
            if (f.open(QIODevice::WriteOnly))
                f.write("shown\n");
        });
    }
    return exec();
}

void CKorvanePCPlayerApp::ExitInstance()
{
    // The player goes before the library it runs on.
    m_mainWindow.reset();
    UnloadMediaLibrary();
    if (m_instanceServer) {
        m_instanceServer->close();
        m_instanceServer = nullptr;
    }
    SkinModule::unload();
}
