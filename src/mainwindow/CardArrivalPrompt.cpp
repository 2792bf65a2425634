#include "mainwindow/CardArrivalPrompt.h"

#include "app/StringTables.h"
#include "catalogue/RecordingCatalogue.h"
#include "mainwindow/CKorvanePCPlayerDlg.h"
#include "platform/MountWatcher.h"
#include "platform/RemovableVolumes.h"
#include "skin/CDlgMessage.h"

#include <QApplication>
#include <QDir>

namespace {

constexpr int kStrCardInsertedOpenNow = 13090;

QString comparable(const QString& folder)
{
    return folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

} // namespace

CardArrivalPrompt::CardArrivalPrompt(QWidget* window, Host host, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_host(std::move(host))
{
}

CardArrivalPrompt::~CardArrivalPrompt()
{
    // The watcher listens to the mount watcher and reads the volumes: it goes first.
    m_watcher.reset();
    m_volumes.reset();
    m_mounts.reset();
}

CardArrivalPrompt* CardArrivalPrompt::Install(CKorvanePCPlayerDlg& window)
{
    Host host;
    host.recordingPlays = [&window] { return window.isPlaying(); };
    // A repair clears the window's ready flag while it works on the card.
    host.busy = [&window] { return !window.isReady(); };
    host.openFolder = [&window] { return window.catalogue().folder(); };
    host.openCard = [&window](const QString& root) { window.OpenFolder(root); };
    auto* prompt = new CardArrivalPrompt(&window, std::move(host), &window);
    std::unique_ptr<MountWatcher> mounts = CreateMountWatcher();
    std::unique_ptr<RemovableVolumes> volumes = CreateRemovableVolumes();
    auto watcher = std::make_unique<CardArrivalWatcher>(*volumes, *mounts);
    prompt->adopt(std::move(mounts), std::move(volumes), std::move(watcher));
    return prompt;
}

void CardArrivalPrompt::listenTo(CardArrivalWatcher& watcher)
{
    connect(&watcher, &CardArrivalWatcher::cardInserted, this, &CardArrivalPrompt::cardInserted);
}

void CardArrivalPrompt::adopt(std::unique_ptr<MountWatcher> mounts, std::unique_ptr<RemovableVolumes> volumes,
    std::unique_ptr<CardArrivalWatcher> watcher)
{
    m_mounts = std::move(mounts);
    m_volumes = std::move(volumes);
    m_watcher = std::move(watcher);
    if (m_watcher)
        listenTo(*m_watcher);
}

void CardArrivalPrompt::cardInserted(const QString& root)
{
    const bool busy = QApplication::activeModalWidget() != nullptr || (m_host.busy && m_host.busy());
    const bool sameCard = comparable(m_host.openFolder()) == comparable(root);
    switch (CardArrivalWatcher::Decide(m_host.recordingPlays(), busy, sameCard)) {
    case CardArrivalWatcher::Action::Ignore:
        return;
    case CardArrivalWatcher::Action::Ask:
        if (CDlgMessage::ask(CDlgMessage::StyleYesNo,
                StringById(kStrCardInsertedOpenNow).arg(QDir::toNativeSeparators(comparable(root))), QString(),
                m_window.data())
            != CDlgMessage::ResultYes)
            return;
        // The card may have gone while the box was up.
        if (!QDir(root).exists())
            return;
        break;
    case CardArrivalWatcher::Action::Open:
        break;
    }
    m_host.openCard(root);
}
