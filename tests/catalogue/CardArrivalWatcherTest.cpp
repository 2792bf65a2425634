#include "catalogue/CardArrivalWatcher.h"
#include "platform/MountWatcher.h"
#include "platform/RemovableVolumes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using Action = CardArrivalWatcher::Action;

// Removable volumes the test mounts and unmounts.
class ChangingVolumes : public RemovableVolumes
{
public:
    QStringList removableRoots() const override { return roots; }
    QStringList roots;
};

TEST(CardArrivalWatcher, DecidesOpenAskOrIgnore)
{
    struct Case
    {
        bool plays, busy, same;
        Action expected;
    };
    const Case cases[] = {
        { false, false, false, Action::Open },
        { true, false, false, Action::Ask },
        { false, true, false, Action::Ignore },
        { true, true, false, Action::Ignore },
        { false, false, true, Action::Ignore },
        { true, false, true, Action::Ignore },
        { false, true, true, Action::Ignore },
        { true, true, true, Action::Ignore },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardArrivalWatcher::Decide(c.plays, c.busy, c.same), c.expected) << c.plays << c.busy << c.same;
}

TEST(CardArrivalWatcher, NewRootsAreThoseNotSeenBefore)
{
    struct Case
    {
        QStringList before, now, added;
    };
    const Case cases[] = {
        { {}, {}, {} },
        { {}, { "/media/a/" }, { "/media/a/" } },
        { { "/media/a/" }, { "/media/a/" }, {} },
        { { "/media/a/" }, {}, {} },
        { { "/media/a/" }, { "/media/a/", "/media/b/", "/media/c/" }, { "/media/b/", "/media/c/" } },
        { { "/media/b/" }, { "/media/a/", "/media/b/" }, { "/media/a/" } },
        { {}, { "/media/a/", "/media/a/" }, { "/media/a/" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CardArrivalWatcher::NewRoots(c.before, c.now), c.added) << c.now.join(',').toStdString();
}

TEST(CardArrivalWatcher, ReportsOnlyNewlyMountedCardsWithRecordings)
{
    ChangingVolumes volumes;
    volumes.roots = { "/media/at-start/" };
    ManualMountWatcher mounts;
    const QStringList withRecordings = { "/media/at-start/", "/media/card/" };
    CardArrivalWatcher watcher(volumes, mounts, [&](const QString& root) { return withRecordings.contains(root); });
    QStringList reported;
    QObject::connect(&watcher, &CardArrivalWatcher::cardInserted, [&](const QString& root) { reported << root; });

    // A change that mounts nothing new (the card at start-up is the start-up's business).
    mounts.reportChange();
    EXPECT_TRUE(reported.isEmpty());

    // A stick without recordings, then the camera card.
    volumes.roots = { "/media/at-start/", "/media/stick/" };
    mounts.reportChange();
    EXPECT_TRUE(reported.isEmpty());
    volumes.roots = { "/media/at-start/", "/media/card/", "/media/stick/" };
    mounts.reportChange();
    EXPECT_EQ(reported, QStringList { "/media/card/" });

    // Unrelated changes while it stays in: no second report.
    mounts.reportChange();
    EXPECT_EQ(reported.size(), 1);

    // Pulled out and inserted again: noticed again.
    volumes.roots = { "/media/at-start/", "/media/stick/" };
    mounts.reportChange();
    EXPECT_EQ(reported.size(), 1);
    volumes.roots = { "/media/at-start/", "/media/card/", "/media/stick/" };
    mounts.reportChange();
    EXPECT_EQ(reported, (QStringList { "/media/card/", "/media/card/" }));
}

TEST(CardArrivalWatcher, HoldsRecordingsScansLikeTheStartUp)
{
    QTemporaryDir card, stick;
    ASSERT_TRUE(card.isValid() && stick.isValid());
    QFile recording(card.filePath(QStringLiteral("evt_20240102_030405.avi")));
    ASSERT_TRUE(recording.open(QIODevice::WriteOnly));
    recording.close();
    QFile other(stick.filePath(QStringLiteral("holiday.avi")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    EXPECT_TRUE(CardArrivalWatcher::HoldsRecordings(card.path() + QLatin1Char('/')));
    EXPECT_FALSE(CardArrivalWatcher::HoldsRecordings(stick.path() + QLatin1Char('/')));
    EXPECT_FALSE(CardArrivalWatcher::HoldsRecordings(QStringLiteral("/no/such/card/")));
}

} // namespace
