#include "skin/DropDownGeometry.h"
#include "skin/MessageBoxLayout.h"
#include "skin/PieGeometry.h"
#include "skin/SliderMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Every character is 10 pixels wide: widths are easy to reason about.
int tenPerChar(const QString& s)
{
    return int(s.size()) * 10;
}

QStringList wrap(const QString& text, int width)
{
    return msgbox::wrapText(text, width, tenPerChar);
}

} // namespace

TEST(MessageWrap, BreaksAtTheLastSpaceBeforeTheOverflowAndDropsIt)
{
    // 10 characters fit per line.
    EXPECT_EQ(wrap("aaaa bbbb cccc", 100), (QStringList { "aaaa bbbb", "cccc" }));
    EXPECT_EQ(wrap("aaaa bbbbb cccc", 100), (QStringList { "aaaa bbbbb", "cccc" }));
    EXPECT_EQ(wrap("aaaaa bbbbbb", 100), (QStringList { "aaaaa", "bbbbbb" }));
    EXPECT_EQ(wrap("short", 100), (QStringList { "short" }));
}

TEST(MessageWrap, ALineWithoutSpacesIsCutAtTheLastCharacterThatFits)
{
    EXPECT_EQ(wrap("abcdefghijklmnopqrstuvwxy", 100), (QStringList { "abcdefghij", "klmnopqrst", "uvwxy" }));
    // Korean text usually has spaces, Japanese text none.
    const QString japanese = QStringLiteral("カードを選択してくださいカードを選択");
    const QStringList lines = wrap(japanese, 100);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0).size(), 10);
    EXPECT_EQ(lines.join(QString()), japanese);
}

TEST(MessageWrap, ClosingPunctuationHangsInsteadOfStartingALine)
{
    const QString text = QStringLiteral("選択した録画ファイルを削除しますか？");
    const QStringList lines = wrap(text, 170); // 17 characters fit
    EXPECT_EQ(lines, (QStringList { QStringLiteral("選択した録画ファイルを削除しますか？") }));
    EXPECT_EQ(wrap(QStringLiteral("あいうえお。かきくけこ"), 50),
        (QStringList { QStringLiteral("あいうえお。"), QStringLiteral("かきくけこ") }));
    EXPECT_EQ(wrap(QStringLiteral("あいうえおかきくけこ"), 50),
        (QStringList { QStringLiteral("あいうえお"), QStringLiteral("かきくけこ") }));
}

TEST(MessageWrap, AlwaysProgressesEvenWhenNothingFits)
{
    EXPECT_EQ(wrap("abc", 5), (QStringList { "a", "b", "c" }));
    EXPECT_EQ(wrap(" ab", 5), (QStringList { " ", "a", "b" }));
}

TEST(MessageWrap, LineBreaksInTheTextStartNewLines)
{
    EXPECT_EQ(wrap("first\nsecond line here", 100), (QStringList { "first", "second", "line here" }));
    EXPECT_EQ(wrap("a\r\nb", 100), (QStringList { "a", "b" }));
}

struct BandCase
{
    int lines;
    int index;
    int top;
    int height;
};

class MessageBands : public ::testing::TestWithParam<BandCase>
{
};

TEST_P(MessageBands, FollowTheLineCount)
{
    // A text area from y 15 to 115: A = 100.
    const QRect area(QPoint(100, 15), QPoint(379, 114));
    const BandCase c = GetParam();
    const QRect band = msgbox::lineBand(c.lines, c.index, area);
    EXPECT_EQ(band.top(), c.top);
    EXPECT_EQ(band.height(), c.height);
    EXPECT_EQ(band.left(), 100);
    EXPECT_EQ(band.width(), 280);
}

INSTANTIATE_TEST_SUITE_P(Table, MessageBands,
    ::testing::Values(BandCase { 1, 0, 55, 90 }, // top + 40 .. top + 80 + A/2
        BandCase { 2, 0, 35, 53 }, // top + 20, A/3 + 20
        BandCase { 2, 1, 68, 53 }, BandCase { 3, 2, 75, 35 }, // top + 10 + 2 * 25
        BandCase { 4, 3, 80, 25 }, // top + 5 + 3 * 20
        BandCase { 5, 4, 79, 16 }, // top + 4 * 16
        BandCase { 6, 5, 87, 19 }, // top - 8 + 5 * 16, A/6 + 3
        BandCase { 8, 7, 91, 15 })); // top - 8 + 7 * 12

TEST(MessageLayout, ButtonsTextAreaAndDecoration)
{
    // Client 394 x 166 (a 400 x 200 window with 3-pixel edges and a 31-pixel caption).
    EXPECT_EQ(msgbox::buttonRect(msgbox::ButtonSlot::Left, 394, 166, 0), QRect(97, 117, 84, 34));
    EXPECT_EQ(msgbox::buttonRect(msgbox::ButtonSlot::Middle, 394, 166, 0), QRect(196, 117, 84, 34));
    EXPECT_EQ(msgbox::buttonRect(msgbox::ButtonSlot::Right, 394, 166, 0), QRect(295, 117, 84, 34));
    // The viewer chooser: right button 7 further right, all 9 lower.
    EXPECT_EQ(msgbox::buttonRect(msgbox::ButtonSlot::Right, 394, 166, 1027), QRect(302, 126, 84, 34));
    EXPECT_EQ(msgbox::buttonRect(msgbox::ButtonSlot::Middle, 394, 166, 1027), QRect(196, 126, 84, 34));
    const QRect text = msgbox::textArea(394, 166);
    EXPECT_EQ(text.left(), 97);
    EXPECT_EQ(text.right() + 1, 379);
    EXPECT_EQ(text.top(), 15);
    EXPECT_EQ(text.bottom() + 1, 117);
    const QRect deco = msgbox::decorationRect(394, 166);
    EXPECT_EQ(deco, QRect(QPoint(15, 15), QPoint(81, 135)));
}

TEST(MessageLayout, WindowsVersionLines)
{
    EXPECT_EQ(msgbox::windowsVersionLine(5, 1), QStringLiteral("[운영체제 버전: 윈도우 XP]"));
    EXPECT_EQ(msgbox::windowsVersionLine(6, 0), QStringLiteral("[운영체제 버전: 윈도우 Vista]"));
    EXPECT_EQ(msgbox::windowsVersionLine(6, 1), QStringLiteral("[운영체제 버전: 윈도우 7]"));
    EXPECT_EQ(msgbox::windowsVersionLine(6, 2), QStringLiteral("[운영체제 버전: 윈도우 8]"));
    EXPECT_TRUE(msgbox::windowsVersionLine(6, 3).isEmpty());
    EXPECT_TRUE(msgbox::windowsVersionLine(10, 0).isEmpty());
}

TEST(SliderMath, SetPositionRules)
{
    EXPECT_TRUE(slidermath::accepts(0, 0, 0, true)); // empty copy job
    EXPECT_FALSE(slidermath::accepts(101, 0, 100, true));
    EXPECT_FALSE(slidermath::accepts(-1, 0, 100, true));
    EXPECT_FALSE(slidermath::accepts(50, 0, 100, false));
    EXPECT_EQ(slidermath::ratio(0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(slidermath::ratio(25, 0, 100), 0.25);
    EXPECT_DOUBLE_EQ(slidermath::ratio(15, 10, 30), 0.25);
}

TEST(SliderMath, ThumbSitsOnTheMarginsAtTheEnds)
{
    // Width 200, thumb 10, margin 6.
    EXPECT_EQ(slidermath::thumbX(0, 0, 10, 200, 10, 6), 1);
    EXPECT_EQ(slidermath::thumbX(10, 0, 10, 200, 10, 6), 200 - 5 - 6);
    EXPECT_EQ(slidermath::thumbX(5, 0, 10, 200, 10, 6), 95);
    EXPECT_EQ(slidermath::thumbX(3, 0, 7, 100, 9, 0), 42 - 4);
}

TEST(SliderMath, MouseWithoutThumb)
{
    EXPECT_EQ(slidermath::valueAtNoThumb(-3, 200, 0, 100).value, 0);
    EXPECT_EQ(slidermath::valueAtNoThumb(201, 200, 0, 100).value, 100);
    EXPECT_DOUBLE_EQ(slidermath::valueAtNoThumb(201, 200, 0, 100).ratio, 1.0);
    EXPECT_EQ(slidermath::valueAtNoThumb(50, 200, 0, 100).value, 25);
    EXPECT_DOUBLE_EQ(slidermath::valueAtNoThumb(50, 200, 0, 100).ratio, 0.25);
    EXPECT_EQ(slidermath::valueAtNoThumb(199, 200, 0, 100).value, 99);
    // A range that does not start at 0 counts from its minimum.
    EXPECT_EQ(slidermath::valueAtNoThumb(100, 200, -50, 50).value, 0);
    EXPECT_EQ(slidermath::valueAtNoThumb(0, 0, 0, 100).value, 0); // no width: no division by zero
}

TEST(SliderMath, MouseWithThumbPicksTheNearestStep)
{
    // Width 120, margin 10, range 0..10: step 10 pixels, half step 5.
    EXPECT_EQ(slidermath::valueAtWithThumb(106, 120, 10, 0, 10), 10);
    EXPECT_EQ(slidermath::valueAtWithThumb(4, 120, 10, 0, 10), 0);
    EXPECT_EQ(slidermath::valueAtWithThumb(10, 120, 10, 0, 10), 0);
    EXPECT_EQ(slidermath::valueAtWithThumb(34, 120, 10, 0, 10), 2);
    EXPECT_EQ(slidermath::valueAtWithThumb(36, 120, 10, 0, 10), 3);
    EXPECT_EQ(slidermath::valueAtWithThumb(56, 120, 10, -5, 5), 0);
    EXPECT_FALSE(slidermath::valueAtWithThumb(50, 120, 10, 3, 3).has_value());
}

TEST(SliderMath, ProgressFill)
{
    EXPECT_EQ(slidermath::progressFillWidth(0, 100, 300), 0);
    EXPECT_EQ(slidermath::progressFillWidth(50, 100, 300), 150);
    EXPECT_EQ(slidermath::progressFillWidth(33, 100, 300), 99);
    EXPECT_EQ(slidermath::progressFillWidth(100, 100, 300), 300);
    EXPECT_EQ(slidermath::progressFillWidth(5, 0, 300), 0);
}

TEST(OptionSlider, StepsAndPositions)
{
    // Width 218, margin 9: step 20 pixels, centres at 9, 29, ..., 209.
    EXPECT_DOUBLE_EQ(optionslider::stepWidth(218), 20.0);
    EXPECT_EQ(optionslider::thumbX(3, 218, 12), 69 - 6);
    EXPECT_EQ(optionslider::firstStepFor(35), 3);
    EXPECT_EQ(optionslider::secondStepFor(35, 40), 7);
    EXPECT_EQ(optionslider::nearestStep(88, 218), 4);
    EXPECT_EQ(optionslider::nearestStep(90, 218), 4);
    EXPECT_EQ(optionslider::nearestStep(209, 218), std::optional<int>()); // step 10 is never reached
    EXPECT_EQ(optionslider::nearestStep(195, 218), 9);
}

TEST(OptionSlider, EdgeZones)
{
    EXPECT_TRUE(optionslider::inEdgeZone(23, 218));
    EXPECT_FALSE(optionslider::inEdgeZone(24, 218));
    EXPECT_FALSE(optionslider::inEdgeZone(194, 218));
    EXPECT_TRUE(optionslider::inEdgeZone(195, 218));
}

TEST(OptionSlider, TwoThumbsNeverCrossOrMeet)
{
    // First at 3 (centre 69), second at 6 (centre 129).
    EXPECT_EQ(optionslider::dragTwoThumb(88, 218, true, 3, 6), 4);
    // Within 15 pixels of the second thumb the first stops one step left of it.
    EXPECT_EQ(optionslider::dragTwoThumb(116, 218, true, 3, 6), 5);
    // Even a cursor far beyond the second thumb leaves the first left of it.
    EXPECT_EQ(optionslider::dragTwoThumb(170, 218, true, 3, 6), 5);
    EXPECT_EQ(optionslider::dragTwoThumb(82, 218, false, 3, 6), 4);
    EXPECT_EQ(optionslider::dragTwoThumb(30, 218, false, 3, 6), 4);
    EXPECT_FALSE(optionslider::dragTwoThumb(20, 218, true, 3, 6).has_value());
    for (int x = 0; x < 218; ++x) {
        for (int first = 0; first < 9; ++first) {
            for (int second = first + 1; second <= 10; ++second) {
                if (auto s = optionslider::dragTwoThumb(x, 218, true, first, second)) {
                    EXPECT_LT(*s, second);
                }
                if (auto s = optionslider::dragTwoThumb(x, 218, false, first, second)) {
                    EXPECT_GT(*s, first);
                }
            }
        }
    }
}

TEST(OptionSlider, SingleThumbDrag)
{
    EXPECT_EQ(optionslider::dragSingleThumb(69, 218), 3);
    EXPECT_FALSE(optionslider::dragSingleThumb(10, 218).has_value());
    // With wide steps the end rules apply before the edge zones: step 9 at the right, step 1 at the left.
    EXPECT_EQ(optionslider::dragSingleThumb(940, 1018), 9);
    EXPECT_EQ(optionslider::dragSingleThumb(60, 1018), 1);
}

TEST(PieGeometry, EqualSlices)
{
    EXPECT_EQ(piegeometry::equalSliceEnds(2), (QList<int> { 180, 360 }));
    EXPECT_EQ(piegeometry::equalSliceEnds(3), (QList<int> { 120, 240, 360 }));
    EXPECT_EQ(piegeometry::equalSliceEnds(7).last(), 360);
    EXPECT_EQ(piegeometry::equalSliceEnds(7).first(), 51);
    EXPECT_TRUE(piegeometry::equalSliceEnds(0).isEmpty());
}

TEST(PieGeometry, ValueSlices)
{
    EXPECT_EQ(piegeometry::valueSliceEnds({ 1, 3 }), (QList<int> { 90, 360 }));
    EXPECT_EQ(piegeometry::valueSliceEnds({ 1, 1, 1 }), (QList<int> { 120, 240, 360 }));
    EXPECT_EQ(piegeometry::valueSliceEnds({ 1, 2 }), (QList<int> { 120, 360 }));
    // Disk sizes in bytes: no overflow.
    EXPECT_EQ(piegeometry::valueSliceEnds({ 64LL << 30, 192LL << 30 }), (QList<int> { 90, 360 }));
    // Nothing to share: no slice instead of a division by zero.
    EXPECT_EQ(piegeometry::valueSliceEnds({ 0, 0 }), (QList<int> { 0, 0 }));
    EXPECT_EQ(piegeometry::valueSliceEnds({ -5, 5 }), (QList<int> { 0, 360 }));
}

TEST(PieGeometry, RaysMeetTheRectangle)
{
    const QRectF r(0, 0, 100, 60);
    auto near = [](QPointF a, QPointF b) { return std::abs(a.x() - b.x()) < 1e-6 && std::abs(a.y() - b.y()) < 1e-6; };
    EXPECT_TRUE(near(piegeometry::rayPoint(r, 0), QPointF(50, 0)));
    EXPECT_TRUE(near(piegeometry::rayPoint(r, 90), QPointF(100, 30)));
    EXPECT_TRUE(near(piegeometry::rayPoint(r, 180), QPointF(50, 60)));
    EXPECT_TRUE(near(piegeometry::rayPoint(r, 270), QPointF(0, 30)));
    // 45 degrees hits the top edge of a wide rectangle.
    EXPECT_TRUE(near(piegeometry::rayPoint(r, 45), QPointF(80, 0)));
}

TEST(DropDownGeometry, PopupSizes)
{
    const QRect button(100, 200, 120, 20); // bottom row at y 219
    EXPECT_EQ(dropdown::popupRect(button, 3, 16, 100), QRect(100, 219, 120, 49));
    EXPECT_EQ(dropdown::popupRect(button, 10, 16, 100), QRect(100, 219, 120, 101));
    EXPECT_EQ(dropdown::popupRect(button, 0, 16, 100).height(), 1);
    EXPECT_FALSE(dropdown::needsScrollBar(3, 16, 49));
    EXPECT_TRUE(dropdown::needsScrollBar(10, 16, 101));
}

TEST(DropDownGeometry, ImageMenuBands)
{
    // Three items 20 high: bands [1,21), [22,42), [43,63); window 64 high.
    EXPECT_EQ(dropdown::menuHeight(3, 20), 64);
    EXPECT_EQ(dropdown::menuItemTop(2, 20), 43);
    EXPECT_EQ(dropdown::menuHoveredItem(0, 20, 3, 64), 0);
    EXPECT_EQ(dropdown::menuHoveredItem(1, 20, 3, 64), 1);
    EXPECT_EQ(dropdown::menuHoveredItem(20, 20, 3, 64), 1);
    EXPECT_EQ(dropdown::menuHoveredItem(21, 20, 3, 64), 0);
    EXPECT_EQ(dropdown::menuHoveredItem(22, 20, 3, 64), 2);
    EXPECT_EQ(dropdown::menuHoveredItem(62, 20, 3, 64), 3);
    EXPECT_EQ(dropdown::menuHoveredItem(64, 20, 3, 64), 3);
    EXPECT_EQ(dropdown::menuHoveredItem(70, 20, 3, 64), 0);
}
