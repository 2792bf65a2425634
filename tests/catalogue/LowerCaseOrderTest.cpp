#include "catalogue/LowerCaseOrder.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <random>
#include <string>

namespace {

// What the order must equal: every pair of lower-cased texts compared as QString does, equal texts in row order.
std::vector<uint32_t> referenceOrder(const QStringList& texts, bool ascending)
{
    std::vector<uint32_t> rows(static_cast<size_t>(texts.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<uint32_t>(i);
    std::stable_sort(rows.begin(), rows.end(), [&](uint32_t a, uint32_t b) {
        const QString x = texts[a].toLower();
        const QString y = texts[b].toLower();
        return ascending ? x < y : y < x;
    });
    return rows;
}

// The order of many texts, ascending and descending, against the reference.
void expectReferenceOrderBothWays(const QStringList& texts)
{
    for (const bool ascending : { true, false }) {
        const std::vector<uint32_t> rows = LowerCaseOrder(
            static_cast<size_t>(texts.size()), [&texts](size_t i) { return texts[static_cast<qsizetype>(i)]; },
            ascending);
        EXPECT_EQ(rows, referenceOrder(texts, ascending)) << (ascending ? "ascending" : "descending");
    }
}

QString ordered(const QStringList& texts, const std::vector<uint32_t>& rows)
{
    QStringList out;
    for (const uint32_t row : rows)
        out << QString(texts[row]).replace(QChar(0), QLatin1String("\\0")) + QLatin1Char('#') + QString::number(row);
    return out.join(QLatin1Char(' '));
}

struct OrderCase
{
    const char* name;
    QStringList texts;
    bool ascending;
    const char* expected; // text#row in the new order (a zero unit shown as \0)
};

class LowerCaseOrderTest : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(LowerCaseOrderTest, SortsAsTheListDoes)
{
    const OrderCase& c = GetParam();
    const std::vector<uint32_t> rows = LowerCaseOrder(
        static_cast<size_t>(c.texts.size()), [&c](size_t i) { return c.texts[static_cast<qsizetype>(i)]; },
        c.ascending);
    EXPECT_EQ(ordered(c.texts, rows), QString::fromUtf8(c.expected)) << c.name;
    EXPECT_EQ(rows, referenceOrder(c.texts, c.ascending)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Texts, LowerCaseOrderTest,
    ::testing::Values(
        OrderCase { "start times of a card", { "20120101_120000", "20120101_110000", "20111231_235959" }, true,
            "20111231_235959#2 20120101_110000#1 20120101_120000#0" },
        // "A" sorts as "a" (0x61), after "_" (0x5f); upper case (0x41) would sort before it.
        OrderCase { "lower-cased before comparing", { "a_", "A", "_", "b" }, true, "_#2 A#1 a_#0 b#3" },
        OrderCase { "equal texts keep their row order ascending", { "x", "X", "a", "x" }, true,
            "a#2 x#0 X#1 x#3" },
        OrderCase { "equal texts keep their row order descending", { "x", "X", "a", "x" }, false,
            "x#0 X#1 x#3 a#2" },
        // The first sixteen units agree: only the rest tells them apart.
        OrderCase { "longer than the packed part", { "20120101_123456pZ2", "20120101_123456pz1", "20120101_123456p" },
            true, "20120101_123456p#2 20120101_123456pz1#1 20120101_123456pZ2#0" },
        OrderCase { "a prefix sorts first", { "20120101_1234567", "20120101_123456", "2012" }, true,
            "2012#2 20120101_123456#1 20120101_1234567#0" },
        // A real zero unit and the padding of a shorter text look alike in the packed part.
        OrderCase { "zero unit against the end of a text", { QStringLiteral("ab") + QChar(0), QStringLiteral("ab") },
            true, "ab#1 ab\\0#0" },
        // Beyond ASCII: code units, not letters, decide (é 0xe9 after z; Ä lower-cases to ä 0xe4).
        OrderCase { "beyond ASCII", { QStringLiteral("é"), QStringLiteral("z"), QStringLiteral("Ä"), QStringLiteral("ä") },
            true, "z#1 Ä#2 ä#3 é#0" },
        // Units above 0x7fff must not turn the packed words' order around.
        OrderCase { "high code units", { QStringLiteral("\uffee"), QStringLiteral("\u8000"), QStringLiteral("a") }, true,
            "a#2 \u8000#1 \uffee#0" },
        OrderCase { "empty texts and none", { "", "b", "" }, false, "b#1 #0 #2" },
        OrderCase { "a prefix sorts last descending", { "2012", "20120101_1234567", "20120101_123456" }, false,
            "20120101_1234567#1 20120101_123456#2 2012#0" },
        OrderCase { "longer than the packed part descending",
            { "20120101_123456pZ2", "20120101_123456p", "20120101_123456pz1", "20120101_123456pz2" }, false,
            "20120101_123456pZ2#0 20120101_123456pz2#3 20120101_123456pz1#2 20120101_123456p#1" },
        OrderCase { "zero unit against the end of a text descending",
            { QStringLiteral("ab"), QStringLiteral("ab") + QChar(0), QStringLiteral("ab") }, false,
            "ab\\0#1 ab#0 ab#2" }));

TEST(LowerCaseOrder, AgreesWithTheFullComparisonOnManyNames)
{
    // Names that share long prefixes, differ in case and length, as a large card's rows do.
    std::mt19937 random(7);
    const QString alphabet = QStringLiteral("01p_aAZz\u00e9\u00c4");
    QStringList texts;
    for (int i = 0; i < 3000; ++i) {
        QString text = QStringLiteral("20260101_1");
        const int extra = static_cast<int>(random() % 10);
        for (int j = 0; j < extra; ++j)
            text += alphabet[static_cast<qsizetype>(random() % static_cast<unsigned>(alphabet.size()))];
        texts << text;
    }
    expectReferenceOrderBothWays(texts);
}

TEST(LowerCaseOrder, AgreesWithTheFullComparisonOnManyAsciiNames)
{
    // Only ASCII: the byte-key order. Lengths around the sixteen units of the key, case, zero units, equal
    // names and names equal in the key but not beyond it.
    std::mt19937 random(11);
    const QString alphabet = QStringLiteral("019p_aAZz") + QChar(0);
    QStringList texts;
    for (int i = 0; i < 4000; ++i) {
        if (i > 0 && random() % 8 == 0) {
            texts << texts[static_cast<qsizetype>(random() % static_cast<unsigned>(texts.size()))];
            continue;
        }
        QString text = random() % 2 ? QStringLiteral("2026010") : QStringLiteral("20260101_12345");
        const int extra = static_cast<int>(random() % 6);
        for (int j = 0; j < extra; ++j)
            text += alphabet[static_cast<qsizetype>(random() % static_cast<unsigned>(alphabet.size()))];
        texts << text;
    }
    expectReferenceOrderBothWays(texts);
}

TEST(LowerCaseOrder, AgreesWithTheFullComparisonOnACardsDates)
{
    // A card's base names, sorted on every fill by their byte keys: dates over months and hours, span markers
    // ("p"), a letter's case, repeats, and texts one unit short.
    std::mt19937 random(5);
    QStringList texts;
    for (int i = 0; i < 6000; ++i) {
        if (i > 0 && random() % 10 == 0) {
            texts << texts[static_cast<qsizetype>(random() % static_cast<unsigned>(texts.size()))];
            continue;
        }
        QString text = QStringLiteral("2026%1%2_%3%4%5")
                           .arg(1 + random() % 12, 2, 10, QLatin1Char('0'))
                           .arg(1 + random() % 28, 2, 10, QLatin1Char('0'))
                           .arg(random() % 24, 2, 10, QLatin1Char('0'))
                           .arg(random() % 60, 2, 10, QLatin1Char('0'))
                           .arg(random() % 60, 2, 10, QLatin1Char('0'));
        switch (random() % 8) {
        case 0:
            text += QLatin1Char('p');
            break;
        case 1:
            text += QLatin1Char('P');
            break;
        case 2:
            text.chop(1);
            break;
        default:
            break;
        }
        texts << text;
    }
    expectReferenceOrderBothWays(texts);
}

TEST(ApplyOrder, PutsEachItemWhereTheOrderSays)
{
    struct Case
    {
        std::vector<uint32_t> order;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> items { "a", "b", "c", "d", "e" };
    const Case cases[] = {
        { { 0, 1, 2, 3, 4 }, { "a", "b", "c", "d", "e" } },
        { { 4, 3, 2, 1, 0 }, { "e", "d", "c", "b", "a" } },
        { { 1, 2, 3, 4, 0 }, { "b", "c", "d", "e", "a" } }, // one long cycle
        { { 1, 0, 3, 4, 2 }, { "b", "a", "d", "e", "c" } }, // two cycles
    };
    for (const Case& c : cases) {
        std::vector<std::string> moved = items;
        ApplyOrder(moved, c.order);
        EXPECT_EQ(moved, c.expected);
    }
    std::vector<std::string> none;
    ApplyOrder(none, {});
    EXPECT_TRUE(none.empty());
}

} // namespace
