#include "app/CKorvanePCPlayerApp.h"

#include "app/InstallLayout.h"
#include "app/SingleInstance.h"
#include "app/StringTables.h"
#include "app/ViewerCommandLine.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/CardArrivalPrompt.h"
#include "playback/MediaLibrary.h"
#include "skin/SkinModule.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QLocale>

CKorvanePCPlayerApp::CKorvanePCPlayerApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora Korvane PC Player"));
    setOrganizationName(QStringLiteral("Velmora Korvane"));
    // The desktop entry the window belongs to (its icon and name in the desktop's task list).
    setDesktopFileName(QStringLiteral("com.velmora.KorvanePlayer"));
    m_folderArgument = ParseViewerCommandLine(arguments().mid(1)).folder;

    // Static environment: the country decides the skin module, the UI language the string table.
    ViewerEnvironment& env = viewerEnvironment();
    env.countryCode = DetermineSystemCountryCode();
    env.skinModuleLoaded = SkinModule::load(installlayout::DataFolder(), SkinModuleName(env.countryCode));
    InstallStringTable(*this, StringTableForLanguages(QLocale::system().uiLanguages()));
}

CKorvanePCPlayerApp::~CKorvanePCPlayerApp()
{
    ExitInstance();
}

bool CKorvanePCPlayerApp::claimSingleInstance()
{
    m_instance = new SingleInstance(QLatin1String(kInstanceName), this);
    m_instance->setRaiseHandler([this] { raiseMainWindow(); });
    return m_instance->claim();
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

    m_mainWindow = std::make_unique<CKorvanePCPlayerDlg>(m_folderArgument);

    // Lets a script (./run --screenshot, the end-to-end tests) know when the first frame of row 0 is on the
    // screen: "frame" then, "idle" when start-up found nothing it could play.
    const QString readyFile = qEnvironmentVariable("KORVANE_READY_FILE");
    if (!readyFile.isEmpty()) {
        connect(m_mainWindow.get(), &CKorvanePCPlayerDlg::startupPlaybackSettled, this, [readyFile](bool painted) {
            // Written aside and renamed, so a script that sees the file sees its whole word.
            QSaveFile f(readyFile);
            if (f.open(QIODevice::WriteOnly)) {
                f.write(painted ? "frame\n" : "idle\n");
                f.commit();
            }
        });
    }

    // The whole start-up sequence runs before the user sees the window.
    m_mainWindow->InitDialog();
    // A card inserted from now on is noticed.
    CardArrivalPrompt::Install(*m_mainWindow);
    m_mainWindow->show();
    return exec();
}

void CKorvanePCPlayerApp::ExitInstance()
{
    // The player goes before the library it runs on.
    m_mainWindow.reset();
    UnloadMediaLibrary();
    delete m_instance;
    m_instance = nullptr;
    SkinModule::unload();
}
