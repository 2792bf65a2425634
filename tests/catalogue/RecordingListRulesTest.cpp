#include "catalogue/RecordingListRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RecordingEntry entry(const char* kind, const char* base, const char* date = "")
{
    RecordingEntry e;
    e.kindLabel = QString::fromUtf8(kind);
    e.baseName = QString::fromUtf8(base);
    e.dateText = QString::fromUtf8(date);
    return e;
}

std::string order(const RecordingListRows& rows, int column)
{
    std::string out;
    for (int row = 0; row < rows.count(); ++row) {
        if (!out.empty())
            out += ' ';
        out += recordinglist::columnText(rows.at(row), column).toStdString();
    }
    return out;
}

struct SortCase
{
    const char* name;
    std::vector<RecordingEntry> rows;
    int column;
    bool ascending;
    std::string expected;
};

class ListSortTest : public ::testing::TestWithParam<SortCase>
{
};

TEST_P(ListSortTest, OrdersByTheColumnsLowerCasedText)
{
    const SortCase& c = GetParam();
    RecordingListRows rows;
    rows.fill(c.rows);
    rows.setAscending(c.ascending);
    rows.sort(c.column);
    EXPECT_EQ(order(rows, c.column), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Rows, ListSortTest,
    ::testing::Values(
        // The event row starts earlier, so it comes first whatever the kinds.
        SortCase { "All view: start time interleaves kinds",
            { entry("Normal", "20120101_120000"), entry("Event", "20120101_110000") }, 1, true,
            "20120101_110000 20120101_120000" },
        SortCase { "descending", { entry("Normal", "a1"), entry("Normal", "a3"), entry("Normal", "a2") }, 1, false,
            "a3 a2 a1" },
        // Lower-cased first, so "A" is "a" (0x61) and sorts after "_" (0x5f), which upper case (0x41) would not.
        SortCase { "lower case, then code units", { entry("Normal", "b"), entry("Normal", "A"), entry("Normal", "_") },
            1, true, "_ A b" },
        SortCase { "a suffixed name after its plain one",
            { entry("Normal", "20120101_123456X"), entry("Normal", "20120101_123456") }, 1, true,
            "20120101_123456 20120101_123456X" },
        SortCase { "by kind label", { entry("Parking", "1"), entry("Event", "2"), entry("Normal", "3") }, 0, true,
            "Event Normal Parking" },
        SortCase { "by date text, descending",
            { entry("Normal", "1", "2012-01-01 10:00:00"), entry("Normal", "2", "2013-01-01 09:00:00") }, 2, false,
            "2013-01-01 09:00:00 2012-01-01 10:00:00" },
        SortCase { "no rows", {}, 1, true, "" }));

TEST(RecordingListRows, FillSortsByBaseNameInTheCurrentDirectionAndEqualTextsKeepTheirOrder)
{
    RecordingListRows rows;
    rows.setAscending(false);
    rows.fill({ entry("Normal", "1"), entry("Event", "3"), entry("Parking", "2") });
    EXPECT_EQ(order(rows, 1), "3 2 1");

    rows.setAscending(true);
    rows.fill({ entry("Normal", "x", "n"), entry("Event", "X", "e"), entry("Parking", "x", "p") });
    EXPECT_EQ(order(rows, 2), "n e p");
    rows.invertDirection();
    rows.sort(1);
    EXPECT_EQ(order(rows, 2), "n e p");
    rows.removeAt(1);
    rows.removeAt(7);
    EXPECT_EQ(order(rows, 2), "n p");
    // Sorts after a removal order what is left, each sort starting from the order the last one left.
    rows.setAscending(false);
    rows.sort(2);
    EXPECT_EQ(order(rows, 0), "Parking Normal");
    rows.setAscending(true);
    rows.sort(1);
    EXPECT_EQ(order(rows, 2), "p n");
    rows.sort(0);
    EXPECT_EQ(order(rows, 2), "n p");
    EXPECT_EQ(rows.count(), 2);
}

TEST(RecordingListRules, CategoryCycleAndPictures)
{
    ListCategory c = ListCategory::All;
    std::vector<int> pictures;
    for (int i = 0; i < 4; ++i) {
        c = recordinglist::nextCategory(c);
        pictures.push_back(recordinglist::headerPictureId(0, c));
    }
    EXPECT_EQ(pictures, (std::vector<int> { 3416, 3415, 3414, 3410 }));
    EXPECT_EQ(c, ListCategory::All);
    EXPECT_EQ(recordinglist::headerPictureId(1, c), 3413);
    EXPECT_EQ(recordinglist::headerPictureId(2, c), 3412);
}

TEST(RecordingListRules, ColumnWidthsByCountry)
{
    for (int country : { 82, 81, 1, 0 }) {
        const bool korea = country == 82;
        EXPECT_EQ(recordinglist::columnWidth(0, country), korea ? 40 : 53) << country;
        EXPECT_EQ(recordinglist::columnWidth(1, country), korea ? 120 : 110) << country;
        EXPECT_EQ(recordinglist::columnWidth(2, country), korea ? 140 : 137) << country;
    }
}

struct LocateCase
{
    const char* name;
    const char* fileName;
    int position;
    int expectedPosition;
    std::optional<int> rowToSelect;
    const char* caption;
};

class LocateTest : public ::testing::TestWithParam<LocateCase>
{
};

TEST_P(LocateTest, FindsThePlayingRecordingsRow)
{
    const LocateCase& c = GetParam();
    RecordingListRows rows; // filled in base-name order, as listed here
    rows.fill({ entry("Event", "20120101_110000"), entry("Normal", "20120101_120000"),
        entry("Normal", "20120101_120000X"), entry("Parking", "20120101_130000") });
    const LocatedRecording located = LocateCurrentRecording(rows, QString::fromUtf8(c.fileName), c.position);
    EXPECT_EQ(located.position, c.expectedPosition) << c.name;
    EXPECT_EQ(located.rowToSelect, c.rowToSelect) << c.name;
    EXPECT_EQ(located.caption, QString::fromUtf8(c.caption)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Rows, LocateTest,
    ::testing::Values(LocateCase { "found elsewhere", "rec_20120101_120000.avi", 0, 1, 1, "20120101_120000(2/4)" },
        LocateCase { "exact match only", "rec_20120101_120000X.mp4", 1, 2, 2, "20120101_120000X(3/4)" },
        LocateCase { "not listed: the position stays", "rec_20990101_000000.avi", 3, 3, 3, "20990101_000000(4/4)" },
        // Past the end (after the last row played): nothing to select, the counter says so.
        LocateCase {
            "not listed, one past the end", "evt_20990101_000000.avi", 4, 4, std::nullopt, "20990101_000000(5/4)" },
        LocateCase { "nothing opened yet", "", 0, 0, 0, "(1/4)" }));

struct MoveCase
{
    const char* name;
    std::vector<int> selected;
    int rowCount;
    std::optional<int> previous;
    std::optional<int> next;
    std::optional<int> open;
};

class KeyboardMoveTest : public ::testing::TestWithParam<MoveCase>
{
};

TEST_P(KeyboardMoveTest, UpDownAndEnter)
{
    const MoveCase& c = GetParam();
    EXPECT_EQ(PreviousRowSelection(c.selected, c.rowCount), c.previous) << c.name;
    EXPECT_EQ(NextRowSelection(c.selected, c.rowCount), c.next) << c.name;
    EXPECT_EQ(RowToOpen(c.selected), c.open) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Selections, KeyboardMoveTest,
    ::testing::Values(MoveCase { "middle row", { 3 }, 10, 2, 4, 3 },
        MoveCase { "row 0 stays row 0", { 0 }, 10, 0, 1, 0 },
        MoveCase { "the last row stays the last", { 9 }, 10, 8, 9, 9 },
        MoveCase { "several: the first selected one moves", { 7, 4, 5 }, 10, 3, 5, 4 },
        MoveCase { "nothing selected: Down takes row 0, Up nothing", {}, 10, std::nullopt, 0, std::nullopt },
        MoveCase { "empty list", {}, 0, std::nullopt, std::nullopt, std::nullopt }));

} // namespace
