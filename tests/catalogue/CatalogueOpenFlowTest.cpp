#include "catalogue/CatalogueOpenFlow.h"
#include "platform/RemovableVolumes.h"

#include "CatalogueFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(OpenCardAtStartup, TakesTheFirstVolumeWithRecordings)
{
    CardFolder stick; // a removable volume without recordings
    stick.add(QStringLiteral("notes.txt"));
    stick.addSetup(setupWithCode(26, 15));
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.avi"));
    card.add(QStringLiteral("evt_20120101_110000.avi"));
    CardFolder later;
    later.add(QStringLiteral("rec_20130101_120000.avi"));
    const FixedRemovableVolumes volumes({ stick.root(), card.root(), later.root() });

    RecordingCatalogue catalogue;
    int model = 6;
    const CatalogueOpenOutcome outcome
        = OpenCardAtStartup(catalogue, volumes, ListCategory::All, model, DefaultModelIdentifier());
    EXPECT_TRUE(outcome.opened);
    EXPECT_EQ(catalogue.folder(), card.root());
    EXPECT_EQ(model, 2); // identified on the stick; the card has no settings file and keeps it
    EXPECT_TRUE(outcome.fillList);
    EXPECT_EQ(outcome.entries.size(), 2u);
    EXPECT_TRUE(outcome.sortByBaseNameAscending);
    EXPECT_FALSE(outcome.openFirstRow);
    EXPECT_TRUE(outcome.showAllHeaderPicture);
}

TEST(OpenCardAtStartup, WithoutACardStillSorts)
{
    CardFolder empty;
    RecordingCatalogue catalogue;
    catalogue.setFolder(QStringLiteral("/previous"));
    int model = 1;
    const CatalogueOpenOutcome outcome = OpenCardAtStartup(
        catalogue, FixedRemovableVolumes({ empty.root() }), ListCategory::All, model, DefaultModelIdentifier());
    EXPECT_FALSE(outcome.opened);
    EXPECT_FALSE(outcome.fillList);
    EXPECT_TRUE(outcome.sortByBaseNameAscending);
    EXPECT_EQ(catalogue.folder(), QStringLiteral("/previous/"));
    EXPECT_EQ(model, 1);
}

TEST(OpenCatalogueFolder, OpensAndPlaysOrClearsTheList)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_120000.mp4"));
    card.addSetup(setupWithCode(100, 26));
    RecordingCatalogue catalogue;
    int model = 0;
    CatalogueOpenOutcome outcome = OpenCatalogueFolder(catalogue, card.path(), model, DefaultModelIdentifier());
    EXPECT_TRUE(outcome.opened);
    EXPECT_EQ(model, 5);
    EXPECT_TRUE(outcome.setCategoryAll);
    EXPECT_TRUE(outcome.switchMagnificationOff);
    EXPECT_TRUE(outcome.openFirstRow);
    EXPECT_EQ(outcome.entries.size(), 1u);
    EXPECT_EQ(catalogue.folder(), card.root());

    CardFolder nothing;
    nothing.add(QStringLiteral("holiday.avi"));
    model = 3;
    outcome = OpenCatalogueFolder(catalogue, nothing.path(), model, DefaultModelIdentifier());
    EXPECT_FALSE(outcome.opened);
    EXPECT_TRUE(outcome.clearListCaptionAndStop);
    EXPECT_FALSE(outcome.fillList);
    EXPECT_EQ(catalogue.folder(), card.root()); // keeps the previous folder
    EXPECT_TRUE(catalogue.names(RecordingKind::Normal).isEmpty());
    EXPECT_EQ(model, 3);
}

} // namespace
