#include "sensor/GraphGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphGeometry, CursorOfAMinuteOnSixHundredColumns)
{
    EXPECT_EQ(graph::cursorX(600, 30000, 60000), 300); // the bar then covers 295 .. 304
    EXPECT_EQ(graph::cursorX(600, 59999, 60000), 599);
    EXPECT_EQ(graph::cursorX(600, 0, 0), std::nullopt); // no length yet: no bar
    // An hour in ms times a wide graph leaves the int range on the way.
    EXPECT_EQ(graph::cursorX(1264, 3599999, 3600000), 1263);
}

TEST(GraphGeometry, PositionsOutsideTheRecordingOrWithoutDataAreIgnored)
{
    EXPECT_TRUE(graph::acceptsPosition(0, 60000, true));
    EXPECT_TRUE(graph::acceptsPosition(60000, 60000, true));
    EXPECT_FALSE(graph::acceptsPosition(60001, 60000, true));
    EXPECT_FALSE(graph::acceptsPosition(-1, 60000, true));
    EXPECT_FALSE(graph::acceptsPosition(100, 60000, false));
    EXPECT_FALSE(graph::acceptsPosition(100, 0, true)); // before the first timer gives the length
}

struct MouseCase
{
    const char* name;
    int mouseX;
    int clientWidth;
    int country;
    qint64 duration;
    std::optional<int> cursor;
    qint64 position;
};

class GraphMouseTest : public ::testing::TestWithParam<MouseCase>
{
};

TEST_P(GraphMouseTest, ClickMovesTheCursorAndSeeks)
{
    const MouseCase& c = GetParam();
    const graph::MouseUpdate u
        = graph::mouseUpdate(c.mouseX, graph::plotWidth(c.clientWidth, c.country), c.country, c.duration);
    EXPECT_EQ(u.cursorX, c.cursor) << c.name;
    EXPECT_EQ(u.positionMs, c.position) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Clicks, GraphMouseTest,
    ::testing::Values(MouseCase { "column 150 of 600", 150, 600, 82, 60000, 150, 15000 },
        MouseCase { "Japan: plot width 575", 115, 600, 81, 57500, 115, 11500 },
        // Right of Japan's plot the cursor stays, the position still goes out (beyond the length).
        MouseCase { "Japan: in the label strip", 590, 600, 81, 57500, std::nullopt, 59000 },
        MouseCase { "elsewhere the whole width is the plot", 590, 600, 1, 60000, 590, 59000 },
        MouseCase { "dragged off the left edge: the start", -40, 600, 82, 60000, 0, 0 },
        MouseCase { "truncated", 1, 3, 0, 1000, 1, 333 }));

TEST(GraphGeometry, StretchedUntilThereAreMoreSamplesThanColumns)
{
    EXPECT_EQ(graph::plotKind(true, 300, 600, 82), graph::PlotKind::Stretched);
    EXPECT_EQ(graph::plotKind(true, 600, 600, 82), graph::PlotKind::Stretched);
    EXPECT_EQ(graph::plotKind(true, 1200, 600, 82), graph::PlotKind::Compressed);
    EXPECT_EQ(graph::plotKind(true, 1200, 575, 81), graph::PlotKind::CompressedJapan);
    EXPECT_EQ(graph::plotKind(false, 1200, 600, 82), graph::PlotKind::None);
    EXPECT_EQ(graph::plotKind(true, 0, 600, 82), graph::PlotKind::None);
    // 300 samples on 600 columns: column i draws sample i / 2.
    EXPECT_EQ(graph::sampleAtColumn(2, 300, 600), 1);
    EXPECT_EQ(graph::sampleAtColumn(599, 300, 600), 299);
}

TEST(GraphGeometry, ValuesLieBelowTheZeroLineWhenPositiveAndAreClampedToTheRange)
{
    // Height 80, range +-1000: 0.04 px per unit, zero line at row 40.
    EXPECT_EQ(graph::valueRow(0, 80, 1000, -1000), 40);
    EXPECT_EQ(graph::valueRow(500, 80, 1000, -1000), 60);
    EXPECT_EQ(graph::valueRow(-500, 80, 1000, -1000), 20);
    EXPECT_EQ(graph::valueRow(999, 80, 1000, -1000), 79); // 39.96 truncated
    EXPECT_EQ(graph::valueRow(5000, 80, 1000, -1000), 80);
    EXPECT_EQ(graph::valueRow(-5000, 80, 1000, -1000), 0);
    EXPECT_EQ(graph::valueRow(700, 25, 0, 0), 12); // an all-zero recording has no scale
}

TEST(GraphGeometry, CompressedMarksStandNearTheirSamplesColumn)
{
    EXPECT_EQ(graph::compressedMarkColumn(0, 1200, 600), std::nullopt);
    EXPECT_EQ(graph::compressedMarkColumn(1, 1200, 600), 1); // 1 x 2 / 2
    EXPECT_EQ(graph::compressedMarkColumn(600, 1200, 600), 300); // 600 x 601 / 1200
    EXPECT_EQ(graph::compressedMarkColumn(35999, 36000, 1264), 1264);
}

} // namespace
