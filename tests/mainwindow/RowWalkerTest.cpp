#include "mainwindow/RowWalker.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// A list described by one letter per row: 'r' a recording, 'p' a span marker. Names are the texts the list
// shows in column 1 (a span marker's base name carries its "p").
struct FakeList
{
    QStringList names;

    explicit FakeList(const char* shape)
    {
        for (int i = 0; shape[i]; ++i) {
            names << (shape[i] == 'p' ? QStringLiteral("2024-01-02 12:00:%1p").arg(i, 2, 10, QLatin1Char('0'))
                                      : QStringLiteral("2024-01-02 12:00:%1").arg(i, 2, 10, QLatin1Char('0')));
        }
    }

    RowWalker::Rows rows() const
    {
        return { [this] { return int(names.size()); },
            [this](int row, int column) { return column == 0 ? QStringLiteral("Normal") : names.at(row); } };
    }
};

using Action = RowWalker::Plan::Action;

struct WalkCase
{
    const char* name;
    const char* shape;
    int start; // position before the step
    char step; // 'o' open(start), 'n' next, 'p' previous (stopped), 'P' previous while playing
    Action action;
    int index;
    bool selectLast;
};

class RowWalkTest : public ::testing::TestWithParam<WalkCase>
{
};

TEST_P(RowWalkTest, LandsOnExpectedRow)
{
    const WalkCase& c = GetParam();
    FakeList list(c.shape);
    RowWalker walker;
    walker.setPosition(c.start);
    RowWalker::Plan plan;
    switch (c.step) {
    case 'o':
        plan = walker.open(c.start, list.rows());
        break;
    case 'n':
        plan = walker.next(list.rows());
        break;
    case 'p':
        plan = walker.previous(list.rows(), false);
        break;
    case 'P':
        plan = walker.previous(list.rows(), true);
        break;
    }
    EXPECT_EQ(plan.action, c.action) << c.name;
    if (c.action == Action::Open || c.action == Action::EndOfList) {
        EXPECT_EQ(plan.index, c.index) << c.name;
        EXPECT_EQ(walker.position(), c.index) << c.name;
    }
    EXPECT_EQ(plan.selectLastRow, c.selectLast) << c.name;
    if (plan.action == Action::Open) {
        EXPECT_FALSE(plan.baseName.contains(QLatin1Char('p'))) << c.name;
        EXPECT_EQ(plan.counter, QStringLiteral("(%1/%2)").arg(c.index + 1).arg(int(list.names.size()))) << c.name;
        EXPECT_EQ(plan.captionText, plan.baseName + plan.counter) << c.name;
    }
    // Every walk ends with no pending direction.
    EXPECT_EQ(walker.moveDirection(), RowWalker::Direction::None) << c.name;
}

const WalkCase kWalks[] = {
    { "open row 0", "rrr", 0, 'o', Action::Open, 0, false },
    { "empty list resets", "", 0, 'o', Action::EmptyReset, 0, false },
    { "next on empty list does nothing", "", 0, 'n', Action::Nothing, 0, false },
    { "previous on empty list does nothing", "", 0, 'p', Action::Nothing, 0, false },
    { "next moves one row", "rrr", 0, 'n', Action::Open, 1, false },
    { "next on last row ends the list", "rrr", 2, 'n', Action::EndOfList, 3, false },
    { "next past the end stays at the end", "rrr", 3, 'n', Action::EndOfList, 3, false },
    { "previous after the end opens the last row", "rrr", 3, 'p', Action::Open, 2, false },
    { "previous on first row while stopped reopens it", "rrr", 0, 'p', Action::Open, 0, false },
    { "previous on first row while playing does nothing", "rrr", 0, 'P', Action::Nothing, 0, false },
    { "markers in the middle: next from 2 opens 5", "rrrpprr", 2, 'n', Action::Open, 5, false },
    { "markers in the middle: previous from 5 opens 2", "rrrpprr", 5, 'p', Action::Open, 2, false },
    { "markers at the top: open 0 skips them", "pprr", 0, 'o', Action::Open, 2, false },
    { "markers at the top: previous turns forwards", "pprr", 2, 'p', Action::Open, 2, false },
    { "markers at the top: previous while playing turns too", "pprr", 2, 'P', Action::Open, 2, false },
    { "markers at the end: next ends and selects the last row", "rrpp", 1, 'n', Action::EndOfList, 4, true },
    { "only markers: open ends and selects the last row", "ppp", 0, 'o', Action::EndOfList, 3, true },
    { "open beyond a shrunk list ends it", "rr", 5, 'o', Action::EndOfList, 2, false },
};

INSTANTIATE_TEST_SUITE_P(Walks, RowWalkTest, ::testing::ValuesIn(kWalks));

TEST(RowWalker, FollowsTheListToItsEndAndStops)
{
    FakeList list("rprrp");
    RowWalker walker;
    std::vector<int> opened;
    RowWalker::Plan plan = walker.open(0, list.rows());
    while (plan.action == Action::Open) {
        opened.push_back(plan.index);
        plan = walker.next(list.rows()); // end of media
    }
    EXPECT_EQ(opened, (std::vector<int> { 0, 2, 3 }));
    EXPECT_EQ(plan.action, Action::EndOfList);
    EXPECT_TRUE(plan.selectLastRow);
    EXPECT_EQ(walker.position(), 5);
}

TEST(RowWalker, PlanCarriesTheRowsKindAndBaseName)
{
    FakeList list("r");
    RowWalker walker;
    const RowWalker::Plan plan = walker.open(0, list.rows());
    EXPECT_EQ(plan.kindLabel, QStringLiteral("Normal"));
    EXPECT_EQ(plan.baseName, QStringLiteral("20240102_120000"));
    EXPECT_EQ(plan.captionText, QStringLiteral("20240102_120000(1/1)"));
}

} // namespace
