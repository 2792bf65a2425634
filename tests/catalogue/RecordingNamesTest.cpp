#include "catalogue/RecordingNames.h"

#include "CatalogueFixture.h"

#include <gtest/gtest.h>

namespace {

// The usual base name shares the name's text: each keeps its own value whatever happens to the other.
TEST(MakeBaseName, SharesTheNameTextYetStandsAlone)
{
    QString name = QStringLiteral("evt_20120101_123456.avi");
    name.detach(); // a buffer of its own, as a scanned name has
    QString base = MakeBaseName(name, QStringLiteral(".avi"));
    EXPECT_EQ(base, QStringLiteral("20120101_123456"));
    EXPECT_EQ(base.constData(), name.constData() + 4); // no copy made
    name[5] = QLatin1Char('9');
    name.clear();
    EXPECT_EQ(base, QStringLiteral("20120101_123456"));
    base.append(QLatin1Char('p'));
    base[0] = QLatin1Char('3');
    EXPECT_EQ(base, QStringLiteral("30120101_123456p"));

    QString other = QStringLiteral("rec_20120101_000000.avi");
    other.detach();
    QString otherBase = MakeBaseName(other, QStringLiteral(".avi"));
    otherBase.append(QStringLiteral("xyz")); // must not write over the name's ".avi"
    EXPECT_EQ(other, QStringLiteral("rec_20120101_000000.avi"));
    EXPECT_EQ(otherBase, QStringLiteral("20120101_000000xyz"));
    {
        QString last = MakeBaseName(QString(other), QStringLiteral(".avi"));
        other = QString(); // the part is now the buffer's only holder
        last.append(QStringLiteral("!!"));
        EXPECT_EQ(last, QStringLiteral("20120101_000000!!"));
    }
    // A name without a buffer of its own (a literal) gives a copy.
    EXPECT_EQ(MakeBaseName(QStringLiteral("pmr_20120101_000000.avi"), QStringLiteral(".avi")),
        QStringLiteral("20120101_000000"));
}

TEST(MakeBaseName, TakesThePrefixAndTheExtensionAway)
{
    struct Case
    {
        const char* name;
        const char* extension;
        const char* base;
    };
    const Case cases[] = {
        { "evt_20120101_123456.avi", ".avi", "20120101_123456" },
        { "rec_20120101_123456X.mp4", ".mp4", "20120101_123456X" },
        { "pmr_20120101_123456p.vlm", ".avi", "20120101_123456p" },
        { "rec_20120101_123456p.vlm", ".mp4", "20120101_123456p" },
        // every occurrence goes, not only the first
        { "rec_rec_20120101.avi.avi", ".avi", "20120101" },
        // the video extension is removed in its exact case only; ".VLM" is not a marker ending
        { "rec_20120101_123456.AVI", ".avi", "20120101_123456.AVI" },
        { "rec_20120101_123456p.VLM", ".avi", "20120101_123456p.VLM" },
        { "evt_x.avi", ".mp4", "x.avi" },
        // the extension inside the name goes too, wherever it stands
        { "rec_a.avib.avi", ".avi", "ab" },
        { "rec_a.avi_b", ".avi", "a_b" },
        { "rec_a.avi.vlm", ".avi", "a.avi" },
        { "pmr_evt_1.avi", ".avi", "evt_1" },
        // no prefix: only the extension goes
        { "x_rec_1.avi", ".avi", "x_rec_1" },
        { "rec_1.avi", "", "1.avi" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            MakeBaseName(QString::fromLatin1(c.name), QString::fromLatin1(c.extension)), QString::fromLatin1(c.base))
            << c.name;
}

TEST(FormatEntryDate, InsertsSeparatorsStepByStep)
{
    struct Case
    {
        const char* base;
        const char* text;
    };
    const Case cases[] = {
        { "20120101_123456", "2012-01-01 12:34:56" },
        { "20120101_123456X", "2012-01-01 12:34:56X" },
        { "20120101_1234", "2012-01-01 12:34:" }, // positions past the end append
        { "2012", "2012--::" },
        { "", "--::" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatEntryDate(QString::fromLatin1(c.base)), QString::fromLatin1(c.text)) << c.base;
}

TEST(RecordingFileNames, RowTextsTurnBackIntoFileNames)
{
    EXPECT_EQ(MakeRecordingFileName(QStringLiteral("Event"), QStringLiteral("20120101_123456"), QStringLiteral(".avi")),
        QStringLiteral("evt_20120101_123456.avi"));
    EXPECT_EQ(
        MakeRecordingFileName(QStringLiteral("Parking"), QStringLiteral("20120101 123456"), QStringLiteral(".mp4")),
        QStringLiteral("pmr_20120101_123456.mp4"));
    EXPECT_EQ(
        MakeRecordingFileName(QStringLiteral("Normal"), QStringLiteral("20120101_123456"), QStringLiteral(".avi")),
        QStringLiteral("rec_20120101_123456.avi"));
    EXPECT_EQ(MakeRecordingFileName(QStringLiteral("Other"), QStringLiteral("x"), QStringLiteral(".avi")),
        QStringLiteral("x.avi"));
    EXPECT_EQ(BaseNameFromRow(QStringLiteral("2012-01-01 12:34:56")), QStringLiteral("20120101_123456"));
    EXPECT_EQ(BaseNameFromRow(QStringLiteral("20120101_123456")), QStringLiteral("20120101_123456"));
}

TEST(DataFilePath, ReplacesTheExtensionAtTheEndOnly)
{
    EXPECT_EQ(DataFilePath(QStringLiteral("/media/card/evt_20120101_123456.avi"), QStringLiteral(".avi")),
        QStringLiteral("/media/card/evt_20120101_123456.dat"));
    // A folder named like a video keeps its name.
    EXPECT_EQ(DataFilePath(QStringLiteral("/home/u/trip.avi/rec_20120101_123456.avi"), QStringLiteral(".avi")),
        QStringLiteral("/home/u/trip.avi/rec_20120101_123456.dat"));
    EXPECT_EQ(DataFilePath(QStringLiteral("/c/x.mp4/rec_1.MP4"), QStringLiteral(".mp4")),
        QStringLiteral("/c/x.mp4/rec_1.dat"));
}

TEST(IconTable, KindLengthAndParkingType)
{
    using recording::iconIndex;
    const QString b15 = QStringLiteral("20120101_123456");
    const QString b16 = QStringLiteral("20120101_123456X");
    EXPECT_EQ(iconIndex(RecordingKind::Event, b15, 2), 0);
    EXPECT_EQ(iconIndex(RecordingKind::Event, b16, 2), 1);
    EXPECT_EQ(iconIndex(RecordingKind::Normal, b15, 2), 2);
    EXPECT_EQ(iconIndex(RecordingKind::Normal, b16, 2), 3);
    EXPECT_EQ(iconIndex(RecordingKind::Parking, b15, 2), 4);
    EXPECT_EQ(iconIndex(RecordingKind::Parking, b15, 0), 4);
    EXPECT_EQ(iconIndex(RecordingKind::Parking, b15, 1), 5);
    EXPECT_EQ(iconIndex(RecordingKind::Parking, b16, 1), 6);
    EXPECT_EQ(iconIndex(RecordingKind::Normal, QStringLiteral("2012"), 2), std::nullopt);
    EXPECT_EQ(recording::iconBitmapId(5), 3506);
    EXPECT_EQ(recording::iconBitmapId(7), 3507);
}

TEST(ReadSpanMarkerText, StartFromTheNameEndFromTheFile)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20120101_123456p.vlm"), QByteArray("20120101_133000"));
    card.add(QStringLiteral("rec_20120101_140000p.vlm"), QByteArray());
    card.add(QStringLiteral("rec_20120101_150000p.vlm"), QByteArray("20120101_160000\0garbage_99", 26));
    const QString base = QStringLiteral("20120101_123456p");
    EXPECT_EQ(ReadSpanMarkerText(card.root() + QStringLiteral("rec_20120101_123456p.vlm"), base),
        QStringLiteral("20120101_123456p|12:34:56 ~ 13:30:00"));
    EXPECT_EQ(ReadSpanMarkerText(
                  card.root() + QStringLiteral("rec_20120101_140000p.vlm"), QStringLiteral("20120101_140000p")),
        QStringLiteral("20120101_140000p|14:00:00 ~ ::"));
    EXPECT_EQ(ReadSpanMarkerText(
                  card.root() + QStringLiteral("rec_20120101_150000p.vlm"), QStringLiteral("20120101_150000p")),
        QStringLiteral("20120101_150000p|15:00:00 ~ 16:00:00"));
    EXPECT_EQ(ReadSpanMarkerText(card.root() + QStringLiteral("missing.vlm"), base),
        QStringLiteral("20120101_123456p|12:34:56 ~ "));
    EXPECT_EQ(ReadSpanMarkerText(card.root() + QStringLiteral("missing.vlm"), QStringLiteral("nofield")),
        QStringLiteral("nofield|:: ~ "));
    // A folder named like a marker cannot be read: no end time.
    card.addFolder(QStringLiteral("rec_20120101_170000p.vlm"));
    EXPECT_EQ(ReadSpanMarkerText(
                  card.root() + QStringLiteral("rec_20120101_170000p.vlm"), QStringLiteral("20120101_170000p")),
        QStringLiteral("20120101_170000p|17:00:00 ~ "));
    // Only the first 512 bytes are read: a field that starts after them is not seen.
    card.add(QStringLiteral("rec_20120101_180000p.vlm"), QByteArray(512, 'x') + QByteArray("_190000"));
    EXPECT_EQ(ReadSpanMarkerText(
                  card.root() + QStringLiteral("rec_20120101_180000p.vlm"), QStringLiteral("20120101_180000p")),
        QStringLiteral("20120101_180000p|18:00:00 ~ ::"));
}

TEST(SortEntriesByBaseName, LowerCasedOrdinalAndStable)
{
    std::vector<RecordingEntry> rows;
    for (const char* base : { "b", "A", "a", "C", "20120101_120000", "20120101_110000" }) {
        RecordingEntry e;
        e.baseName = QString::fromLatin1(base);
        e.dateText = QString::number(rows.size());
        rows.push_back(e);
    }
    SortEntriesByBaseName(rows);
    QStringList order;
    for (const RecordingEntry& e : rows)
        order << e.baseName + QLatin1Char('#') + e.dateText;
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("20120101_110000#5 20120101_120000#4 A#1 a#2 b#0 C#3"));
}

} // namespace
