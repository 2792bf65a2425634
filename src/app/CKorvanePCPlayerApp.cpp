#include "app/CKorvanePCPlayerApp.h"

#include "app/InstallLayout.h"
#include "app/SingleInstance.h"
#include "app/StartupSettings.h"
#include "app/StartupTrace.h"
#include "app/StringTables.h"
#include "app/ViewerCommandLine.h"
#include "app/ViewerEnvironment.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "mainwindow/CardArrivalPrompt.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "skin/SkinModule.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QLocale>

CKorvanePCPlayerApp::CKorvanePCPlayerApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    startuptrace::Mark("application object");
    // The media library and its player take as long to start as the window takes to build: start them now
    // on the other processor. Only the High tier's library can be loaded this early; the other tiers'
    // builds are copied into place by the start-up sequence first (InstallLibraryVariant).
    const SettingsStore& store = SettingsStore::user();
    if (PredictViewerTier(store) == int(ViewerTier::High))
        PreloadMediaLibrary(int(ViewerTier::High), MediaOptionList(MediaOptionSet::High, BuildMediaOptions(store)));
    setApplicationName(QStringLiteral("Velmora Korvane PC Player"));
    setOrganizationName(QStringLiteral("Velmora Korvane"));
    // The desktop entry the window belongs to (its icon and name in the desktop's task list).
    setDesktopFileName(QStringLiteral("com.velmora.KorvanePlayer"));
    m_folderArgument = ParseViewerCommandLine(arguments().mid(1)).folder;

    // Static environment: the country decides the skin module, the UI language the string table.
    ViewerEnvironment& env = viewerEnvironment();
    env.countryCode = DetermineSystemCountryCode();
    env.skinModuleLoaded = SkinModule::load(installlayout::DataFolder(), SkinModuleName(env.countryCode));
    startuptrace::Mark("skin module");
    InstallStringTable(*this, StringTableForLanguages(QLocale::system().uiLanguages()));
    startuptrace::Mark("string table");
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

    startuptrace::Mark("single instance");
    m_mainWindow = std::make_unique<CKorvanePCPlayerDlg>(m_folderArgument);
    startuptrace::Mark("main window built");

    // Lets a script (./run --screenshot, the end-to-end tests) know when the first frame of row 0 is on the
    // screen: "frame" then, "idle" when start-up found nothing it could play.
    const QString readyFile = qEnvironmentVariable("KORVANE_READY_FILE");
    if (!readyFile.isEmpty()) {
        connect(m_mainWindow.get(), &CKorvanePCPlayerDlg::startupPlaybackSettled, this, [readyFile](bool painted) {
            // Written aside and renamed, so a script that sees the file sees its whole word.
            startuptrace::Mark("first frame painted");
            QSaveFile f(readyFile);
            if (f.open(QIODevice::WriteOnly)) {
                f.write(painted ? "frame\n" : "idle\n");
                f.commit();
            }
        });
    }

    // The whole start-up sequence runs before the user sees the window.
    m_mainWindow->InitDialog();
    startuptrace::Mark("dialog initialised");
    // A card inserted from now on is noticed.
    CardArrivalPrompt::Install(*m_mainWindow);
    m_mainWindow->show();
    startuptrace::Mark("window shown");
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
