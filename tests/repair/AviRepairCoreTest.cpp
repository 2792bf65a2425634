// The repair engine on AVI files built from bytes, each damaged in one known way.
#include "AviTestSupport.h"
#include "FailDevice.h"
#include "repair/CAviRepairCore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace avitest;

namespace {

constexpr int kMiB = 1024 * 1024;

QByteArray keyHead()
{
    return QByteArray("\x00\x00\x01\x00", 4); // a key frame for the generic rule (bits 0x06000000 clear)
}

QByteArray deltaHead()
{
    return QByteArray("\x00\x00\x01\x06", 4);
}

QByteArray video(int n, int size = 200, const QByteArray& head = keyHead())
{
    return chunk("00dc", payload(size, head, n));
}

QByteArray audio(int n, int size = 160)
{
    return chunk("01wb", payload(size, {}, 1000 + n));
}

QByteArray garbage(int size, int seed = 3)
{
    // No digits, no letters: nothing in it can look like a chunk id.
    QByteArray g(size, '\0');
    for (int i = 0; i < size; ++i)
        g[i] = char(0xA0 + ((i * 5 + seed) % 0x50));
    return g;
}

QList<QByteArray> frames(int count, int size = 200)
{
    QList<QByteArray> list;
    for (int i = 0; i < count; ++i)
        list << video(i, size);
    return list;
}

struct Outcome
{
    bool ok = false;
    QString error;
    QByteArray output;
    Structure structure;
    int endMarkers = 0;
    uint32_t stream0 = 0;
    uint32_t stream1 = 0;
    bool targetExists = false;
};

class RepairTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    Outcome repair(const QByteArray& input, bool cutOutDamage = true, bool restartAtKeyFrame = true,
        CAviRepairCore::Pump pump = {})
    {
        const QString source = path("damaged.avi");
        const QString target = path("repaired.avi");
        QFile::remove(target);
        EXPECT_TRUE(writeFile(source, input));
        CAviRepairCore engine(std::move(pump));
        Outcome o;
        o.ok = engine.RepairFile(source, target, true, cutOutDamage, false, restartAtKeyFrame);
        o.error = engine.errorString();
        o.endMarkers = engine.endMarkerCount();
        o.stream0 = engine.streamChunkCount(0);
        o.stream1 = engine.streamChunkCount(1);
        o.targetExists = QFile::exists(target);
        o.output = readFile(target);
        if (o.ok)
            o.structure = inspect(o.output);
        EXPECT_EQ(readFile(source), input) << "the source was modified";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".repairing")),
            QStringList())
            << "a temporary file was left behind";
        return o;
    }
};

// Which of the given chunks the repaired file holds, in order (by their data).
QList<int> kept(const Structure& s, const QList<QByteArray>& originals)
{
    QList<int> result;
    for (const QByteArray& data : s.chunkData) {
        int found = -1;
        for (int i = 0; i < originals.size(); ++i) {
            if (originals[i].mid(8, readLe32(originals[i], 4)) == data) {
                found = i;
                break;
            }
        }
        result << found;
    }
    return result;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int i = from; i < to; ++i)
        r << i;
    return r;
}

TEST_F(RepairTest, CameraFileWithZeroSizesAndNoIndexIsRebuilt)
{
    Layout layout;
    layout.audio = true;
    QList<QByteArray> chunks;
    for (int i = 0; i < 10; ++i)
        chunks << video(i) << audio(i);
    const Outcome o = repair(file(layout, chunks, false, false));
    ASSERT_TRUE(o.ok) << o.error.toStdString();
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(kept(o.structure, chunks), range(0, 20));
    EXPECT_EQ(o.structure.count("00dc"), 10);
    EXPECT_EQ(o.structure.avihFrames, 10u);
    EXPECT_TRUE(o.structure.avihFlags & 0x10);
    ASSERT_EQ(o.structure.strhLength.size(), 2u);
    EXPECT_EQ(o.structure.strhLength[0], 10u);
    EXPECT_EQ(o.structure.strhLength[1], 10u * 160 / 2); // PCM length counts samples
    EXPECT_EQ(o.stream0, 10u);
    EXPECT_EQ(o.stream1, 10u);
    for (const Entry& e : o.structure.entries)
        EXPECT_EQ(e.flags, 0x10u) << e.id.constData();
}

TEST_F(RepairTest, IntactFileKeepsItsBytesAndGainsOnlyPadding)
{
    const QList<QByteArray> chunks = frames(6);
    const QByteArray input = file(Layout {}, chunks);
    const Outcome o = repair(input);
    ASSERT_TRUE(o.ok);
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    // the movie data and the index stay as they were; the file only gains its JUNK tail
    EXPECT_EQ(o.output.size() % 2048, 0);
    EXPECT_EQ(o.output.left(input.size()).mid(movieRef(input)), input.mid(movieRef(input)));
    const QByteArray tail = o.output.mid(input.size());
    ASSERT_GE(tail.size(), 8);
    EXPECT_EQ(tail.left(4), "JUNK");
    EXPECT_EQ(readLe32(tail, 4), uint32_t(tail.size() - 8));
    EXPECT_EQ(tail.mid(8), QByteArray(tail.size() - 8, '\0')) << "the padding is zeros";
}

struct DamageCase
{
    const char* name;
    QByteArray codec;
    bool restartAtKeyFrame;
    std::function<QList<QByteArray>(QList<QByteArray>& originals)> build; // returns the movie pieces
    QList<int> expected;
};

class DamageTable : public RepairTest, public ::testing::WithParamInterface<DamageCase>
{
};

TEST_P(DamageTable, KeepsEveryChunkThatCanBeRebuilt)
{
    const DamageCase& c = GetParam();
    QList<QByteArray> originals;
    const QList<QByteArray> pieces = c.build(originals);
    Layout layout;
    layout.codec = c.codec;
    QByteArray input = header(layout);
    for (const QByteArray& piece : pieces)
        input += piece;
    const Outcome o = repair(input, true, c.restartAtKeyFrame);
    ASSERT_TRUE(o.ok) << o.error.toStdString();
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(kept(o.structure, originals), c.expected);
    EXPECT_EQ(o.structure.avihFrames, uint32_t(o.structure.count("00dc")));
}

QList<QByteArray> withGarbageAfter(QList<QByteArray>& originals, int count, int after, int garbageSize)
{
    originals = frames(count);
    QList<QByteArray> pieces = originals;
    pieces.insert(after + 1, garbage(garbageSize));
    return pieces;
}

// Key frames at 0, 4 and 8 for the generic rule.
QList<QByteArray> groupOfPictures(QList<QByteArray>& originals, int garbageAfter, int garbageSize)
{
    for (int i = 0; i < 10; ++i)
        originals << video(i, 201, i % 4 == 0 ? keyHead() : deltaHead());
    QList<QByteArray> pieces = originals;
    pieces.insert(garbageAfter + 1, garbage(garbageSize));
    return pieces;
}

INSTANTIATE_TEST_SUITE_P(Damage, DamageTable,
    ::testing::Values(
        DamageCase {"GarbageOf1Byte", "MJPG", true, [](auto& o) { return withGarbageAfter(o, 10, 4, 1); },
            range(0, 10)},
        DamageCase {"GarbageOf2Bytes", "MJPG", true, [](auto& o) { return withGarbageAfter(o, 10, 4, 2); },
            range(0, 10)},
        DamageCase {"GarbageOf3Bytes", "MJPG", true, [](auto& o) { return withGarbageAfter(o, 10, 4, 3); },
            range(0, 10)},
        DamageCase {"GarbageOf1001Bytes", "MJPG", true, [](auto& o) { return withGarbageAfter(o, 10, 4, 1001); },
            range(0, 10)},
        DamageCase {"GarbageAcrossTheMiBBoundary", "MJPG", true,
            [](auto& o) { return withGarbageAfter(o, 10, 2, 3 * kMiB / 2 + 7); }, range(0, 10)},
        DamageCase {"GarbageThenOddChunksStayAligned", "MJPG", true,
            [](QList<QByteArray>& o) {
                for (int i = 0; i < 8; ++i)
                    o << video(i, 101 + 2 * i);
                QList<QByteArray> p = o;
                p.insert(3, garbage(5));
                p.insert(6, garbage(2));
                return p;
            },
            range(0, 8)},
        DamageCase {"ResumesAtTheNextKeyFrame", "DIVX", true, [](auto& o) { return groupOfPictures(o, 4, 33); },
            QList<int> {0, 1, 2, 3, 4, 8, 9}},
        DamageCase {"AnyChunkResumesAtOnce", "DIVX", false, [](auto& o) { return groupOfPictures(o, 4, 33); },
            range(0, 10)},
        DamageCase {"TruncatedMidChunk", "MJPG", true,
            [](QList<QByteArray>& o) {
                QList<QByteArray> p = frames(8);
                o = p;
                p[7] = p[7].left(100);
                return p;
            },
            range(0, 7)},
        DamageCase {"ChunkDeclaredOneMiB", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(8);
                QList<QByteArray> p = o;
                p[3].replace(4, 4, le32(kMiB));
                return p;
            },
            QList<int> {0, 1, 2, 4, 5, 6, 7}},
        DamageCase {"ChunkJustUnderOneMiBIsKept", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(4);
                o.insert(2, video(99, kMiB - 2));
                return o;
            },
            range(0, 5)},
        DamageCase {"NegativeSizeIsDamage", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(5);
                QList<QByteArray> p = o;
                p[1].replace(4, 4, le32(0xFFFFFF00u));
                return p;
            },
            QList<int> {0, 2, 3, 4}},
        DamageCase {"FalseIdsInGarbageArePassedOver", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(5);
                QList<QByteArray> p = o;
                // an id with an impossible size, and one whose chunk would run past the end of the file
                p.insert(2, garbage(9) + "00dc" + le32(5 * kMiB) + garbage(3) + "01wb" + le32(900 * 1024) + garbage(6));
                return p;
            },
            range(0, 5)},
        DamageCase {"EndMarkerOfSizeZero", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(6);
                QList<QByteArray> p = o.mid(0, 3);
                p << QByteArray("00dc", 4) + le32(0) + garbage(8) + "00dc" + le32(4) + "abcd";
                p << o.mid(3);
                return p;
            },
            range(0, 3)},
        DamageCase {"EndMarkerOfSize16", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(6);
                QList<QByteArray> p = o.mid(0, 4);
                p << QByteArray("00dc", 4) + le32(16) + garbage(8) + "01wb" + garbage(4);
                p << o.mid(4);
                return p;
            },
            range(0, 4)},
        DamageCase {"ZeroSizedChunkNotFollowedByAnId", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(3);
                o.insert(1, chunk("00dc", {}));
                return o;
            },
            range(0, 4)},
        DamageCase {"RecordListsAreWalkedInto", "DIVX", true,
            [](QList<QByteArray>& o) {
                QList<QByteArray> p;
                for (int i = 0; i < 4; ++i) {
                    const QByteArray a = audio(i);
                    const QByteArray v = video(i, 200, i == 0 ? keyHead() : deltaHead());
                    o << a << v;
                    p << QByteArray("LIST", 4) + le32(uint32_t(4 + a.size() + v.size())) + "rec " + a + v;
                }
                return p;
            },
            range(0, 8)},
        DamageCase {"ListsOfOtherTypesAreEnteredAtTheirFirstStreamChunk", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(4);
                const QByteArray inner = chunk("JUNK", QByteArray(6, '\0')) + o[1] + o[2];
                return QList<QByteArray> {o[0], QByteArray("LIST", 4) + le32(uint32_t(4 + inner.size())) + "abcd" + inner,
                    chunk("LIST", QByteArray("INFO", 4) + chunk("ISFT", "cam")), o[3]};
            },
            range(0, 4)},
        DamageCase {"ExtensionRiffWithZeroSizes", "DIVX", true,
            [](QList<QByteArray>& o) {
                for (int i = 0; i < 6; ++i)
                    o << video(i, 200, i == 3 ? deltaHead() : keyHead());
                QList<QByteArray> p = o.mid(0, 3);
                p << QByteArray("RIFF", 4) + le32(0) + "AVIX" + "LIST" + le32(0) + "movi";
                p << o.mid(3);
                return p;
            },
            range(0, 6)},
        DamageCase {"OldIndexThenExtensionRiff", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(6);
                QList<QByteArray> p = o.mid(0, 3);
                QByteArray oldIndex;
                for (int i = 0; i < 3; ++i)
                    oldIndex += QByteArray("00dc", 4) + le32(0x10) + le32(4 + 208 * i) + le32(200);
                p << chunk("idx1", oldIndex);
                p << QByteArray("RIFF", 4) + le32(3 * 208 + 12) + "AVIX" + "LIST" + le32(3 * 208 + 4) + "movi";
                p << o.mid(3);
                return p;
            },
            range(0, 6)},
        DamageCase {"IndexAndFillerChunksInsideMovieAreDropped", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(4);
                QList<QByteArray> p = o;
                p.insert(2, chunk("ix00", QByteArray(24 + 8 * 2, '\x05')));
                p.insert(1, chunk("JUNK", QByteArray(31, '\0')));
                return p;
            },
            range(0, 4)},
        DamageCase {"OddChunkWithoutItsPadByte", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = {video(0, 101), audio(0, 33), video(1, 100), video(2, 77)};
                QList<QByteArray> p = o;
                p[0].chop(1); // the writer left out the pad bytes
                p[1].chop(1);
                return p;
            },
            range(0, 4)},
        DamageCase {"DamagedIndexAfterGarbageIsNotMistakenForChunks", "MJPG", true,
            [](QList<QByteArray>& o) {
                o = frames(4);
                QList<QByteArray> p = o;
                QByteArray index;
                for (int i = 0; i < 4; ++i)
                    index += QByteArray("00dc", 4) + le32(0x10) + le32(4 + 208 * i) + le32(16);
                p << garbage(11) << chunk("idx1", index).left(40);
                return p;
            },
            range(0, 4)}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST_F(RepairTest, FoundAtEveryByteAlignment)
{
    for (int shift = 0; shift < 8; ++shift) {
        const QList<QByteArray> originals = frames(3);
        QByteArray input = header(Layout {}) + originals[0] + QByteArray("\x01\x02\x03", 3) + garbage(shift)
            + originals[1] + originals[2];
        const Outcome o = repair(input);
        ASSERT_TRUE(o.ok);
        ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
        EXPECT_EQ(kept(o.structure, originals), range(0, 3)) << "shift " << shift;
    }
}

TEST_F(RepairTest, KeepDamageCopiesTheBadBytesThroughAndIndexesAroundThem)
{
    const QList<QByteArray> originals = frames(4);
    const QByteArray bad = garbage(7);
    const QByteArray input = header(Layout {}) + originals[0] + originals[1] + bad + originals[2] + originals[3];
    const Outcome o = repair(input, false, true);
    ASSERT_TRUE(o.ok);
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(kept(o.structure, originals), range(0, 4));
    EXPECT_TRUE(o.output.contains(bad));
    const Outcome cut = repair(input, true, true);
    EXPECT_FALSE(cut.output.contains(bad));
    EXPECT_EQ(o.output.size() >= cut.output.size(), true);
}

TEST_F(RepairTest, OddChunkIsFollowedByAZeroByte)
{
    const QList<QByteArray> originals = {video(0, 101), video(1, 100)};
    QByteArray input = header(Layout {}) + originals[0] + originals[1];
    input[input.size() - originals[1].size() - 1] = '\x7F'; // a pad byte that is not zero
    const Outcome o = repair(input);
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    ASSERT_EQ(o.structure.entries.size(), 2u);
    const qint64 firstEnd = o.structure.movieRef + o.structure.entries[0].offset + 8 + 101;
    EXPECT_EQ(o.output.at(firstEnd), '\0');
    EXPECT_EQ(o.structure.entries[1].offset % 2, 0u);
}

TEST_F(RepairTest, HeaderCorrectionPassesOverUnknownChunksAndRetiresStaleSuperIndexes)
{
    Layout layout;
    layout.audio = true;
    layout.odml = true;
    layout.vprp = true;
    layout.superIndex = true;
    layout.declaredFrames = 999;
    QList<QByteArray> chunks;
    for (int i = 0; i < 7; ++i)
        chunks << video(i) << audio(i);
    const Outcome o = repair(file(layout, chunks, false, false));
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(o.structure.avihFrames, 7u);
    ASSERT_EQ(o.structure.strhLength.size(), 2u);
    EXPECT_EQ(o.structure.strhLength[0], 7u);
    EXPECT_EQ(o.structure.strhLength[1], 7u * 80);
    EXPECT_EQ(o.structure.superIndexes, 0);
    const qint64 dmlh = o.output.indexOf("dmlh");
    ASSERT_GT(dmlh, 0);
    EXPECT_EQ(readLe32(o.output, dmlh + 8), 7u);
}

TEST_F(RepairTest, PaddingReachesTheNextMultipleOf2048)
{
    struct
    {
        int rest;
        uint32_t junk;
    } cases[] = {{1000, 1040}, {2, 2038}, {2040, 0}, {2042, 2046}, {2046, 2042}, {0, ~0u}};
    for (const auto& c : cases) {
        // find a last-chunk size that makes the content end `rest` bytes past a multiple of 2048
        QList<QByteArray> chunks = frames(3);
        const qint64 base = file(Layout {}, chunks).size();
        const qint64 grow = ((c.rest - base % 2048) % 2048 + 2048) % 2048;
        chunks[2] = video(2, 200 + int(grow));
        const QByteArray input = file(Layout {}, chunks);
        ASSERT_EQ(input.size() % 2048, c.rest);
        const Outcome o = repair(input);
        ASSERT_TRUE(o.structure.ok) << c.rest << ": " << o.structure.problem.toStdString();
        if (c.rest == 0) {
            EXPECT_EQ(o.output.size(), input.size());
        } else {
            EXPECT_EQ(o.output.mid(input.size(), 4), "JUNK") << c.rest;
            EXPECT_EQ(readLe32(o.output, input.size() + 4), c.junk) << c.rest;
            EXPECT_EQ(o.output.size(), input.size() + 8 + qint64(c.junk)) << c.rest;
        }
    }
}

TEST_F(RepairTest, RefusalsWriteNothing)
{
    struct
    {
        const char* what;
        QByteArray input;
    } cases[] = {
        {"matroska", QByteArray("\x1A\x45\xDF\xA3\x9F\x42\x86\x81\x01\x42\xF7\x81\x01\x42\xF2\x81", 16) + garbage(500)},
        {"not avi", QByteArray("RIFF\0\0\0\0WAVEfmt ", 16) + garbage(100)},
        {"empty", QByteArray()},
        {"no movie list", header(Layout {}).left(header(Layout {}).size() - 12) + chunk("JUNK", garbage(40))},
        {"movie list beyond the end", header(Layout {}).replace(16, 4, le32(0x7FFFFFF0))},
    };
    for (const auto& c : cases) {
        const Outcome o = repair(c.input);
        EXPECT_FALSE(o.ok) << c.what;
        EXPECT_FALSE(o.targetExists) << c.what;
        EXPECT_FALSE(o.error.isEmpty()) << c.what;
    }
}

TEST_F(RepairTest, InPlaceRepairIsRefusedAndCheckOnlyWritesNothing)
{
    const QByteArray input = file(Layout {}, frames(5), false, false);
    const QString source = path("rec.avi");
    ASSERT_TRUE(writeFile(source, input));
    CAviRepairCore engine;
    EXPECT_FALSE(engine.RepairFile(source, source, false, true, false, true));
    EXPECT_EQ(readFile(source), input);
    EXPECT_FALSE(engine.RepairFile(source, source, true, true, false, true)) << "target is the source";
    EXPECT_EQ(readFile(source), input);

    EXPECT_TRUE(engine.RepairFile(source, path("never.avi"), true, true, true, true));
    EXPECT_EQ(engine.indexEntryCount(), 5);
    EXPECT_FALSE(QFile::exists(path("never.avi")));
    EXPECT_TRUE(engine.RepairFile(source, source, false, true, true, true));
    EXPECT_EQ(readFile(source), input);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("rec.avi")});
}

TEST_F(RepairTest, PumpRunsDuringALongRepair)
{
    QList<QByteArray> pieces = frames(3);
    pieces << garbage(24 * kMiB) << frames(2);
    QByteArray input = header(Layout {});
    for (const QByteArray& p : pieces)
        input += p;
    int calls = 0;
    const Outcome o = repair(input, true, true, [&calls] { ++calls; });
    EXPECT_TRUE(o.ok);
    EXPECT_GT(calls, 0);
}

// A target that fails (disk full, I/O error) at any point fails the repair.
class WriteFailure : public RepairTest, public ::testing::WithParamInterface<qint64>
{
};

TEST_P(WriteFailure, OnADeviceIsReportedAsFailure)
{
    QList<QByteArray> chunks = frames(20, 3000);
    const QByteArray input = file(Layout {}, chunks, false, false);
    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    QBuffer sink;
    sink.open(QIODevice::ReadWrite);
    const qint64 budget = GetParam() >= 0 ? GetParam() : input.size() + 20 * 16 + 8 + GetParam();
    FailDevice failing(&sink, budget);
    CAviRepairCore engine;
    EXPECT_FALSE(engine.RepairDevice(&source, &failing, true, true)) << "budget " << budget;
    EXPECT_TRUE(engine.errorString().contains(QStringLiteral("writing"))) << engine.errorString().toStdString();
    EXPECT_EQ(source.data(), input);
}

TEST_P(WriteFailure, OnAFileLeavesNothingUnderTheTargetName)
{
    const QByteArray input = file(Layout {}, frames(20, 3000), false, false);
    const QString source = path("rec.avi");
    const QString target = path("rec_fix.avi");
    ASSERT_TRUE(writeFile(source, input));
    ASSERT_TRUE(writeFile(target, "earlier contents"));
    const qint64 budget = GetParam() >= 0 ? GetParam() : input.size() + 20 * 16 + 8 + GetParam();
    CAviRepairCore engine;
    engine.setTargetWrapper([budget](QIODevice* file) { return std::make_unique<FailDevice>(file, budget); });
    EXPECT_FALSE(engine.RepairFile(source, target, true, true, false, true));
    EXPECT_EQ(readFile(target), "earlier contents");
    EXPECT_EQ(readFile(source), input);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// 0: at once; 100: inside the header; 30000: in the movie data; negative: that far before the end of the index
// (the padding and the header patches fail)
INSTANTIATE_TEST_SUITE_P(Budgets, WriteFailure, ::testing::Values(0, 100, 30000, -100, -1));

TEST(RepairDevice, FullDiskFailsTheRepairOnEveryCopyPath)
{
    // /dev/full accepts the open and fails every write with "no space left on device".
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    const QByteArray input = file(Layout {}, frames(30, 5000), false, false);

    QBuffer buffer; // copied through the engine's buffer
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);
    CAviRepairCore engine;
    EXPECT_FALSE(engine.RepairDevice(&buffer, &full, true, true));

    QTemporaryDir dir; // file to file: copied by the helper thread
    const QString path = dir.filePath(QStringLiteral("src.avi"));
    ASSERT_TRUE(writeFile(path, input));
    QFile source(path);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(engine.RepairDevice(&source, &full, true, true));
    EXPECT_TRUE(engine.errorString().contains(QStringLiteral("writing"))) << engine.errorString().toStdString();
    EXPECT_EQ(readFile(path), input);
}

TEST_F(RepairTest, IndexStopsAtItsCapacity)
{
    // 2-byte chunks (10 bytes each) beyond the capacity of the index
    const int count = CAviRepairCore::kMaxIndexEntries + 50;
    QByteArray input = header(Layout {});
    input.reserve(input.size() + count * 10);
    const QByteArray small = QByteArray("00dc", 4) + le32(2) + QByteArray("\xC0\xC1", 2);
    for (int i = 0; i < count; ++i)
        input += small;
    const QString source = path("long.avi");
    ASSERT_TRUE(writeFile(source, input));
    CAviRepairCore engine;
    ASSERT_TRUE(engine.RepairFile(source, path("long_fix.avi"), true, true, false, true));
    EXPECT_TRUE(engine.indexFull());
    EXPECT_EQ(engine.indexEntryCount(), CAviRepairCore::kMaxIndexEntries);
    const Structure s = inspect(readFile(path("long_fix.avi")));
    ASSERT_TRUE(s.ok) << s.problem.toStdString();
    EXPECT_EQ(s.entries.size(), size_t(CAviRepairCore::kMaxIndexEntries));
    EXPECT_EQ(s.avihFrames, uint32_t(CAviRepairCore::kMaxIndexEntries));
}

} // namespace

namespace {

TEST_F(RepairTest, LongRemainderAfterDroppedBytesKeepsItsPageOffsets)
{
    // Past 8 MiB of remaining data a filler keeps the kept chunks at the same offset within a 4 KiB page as
    // in the source, which lets the kernel copy whole pages.
    QList<QByteArray> originals;
    for (int i = 0; i < 48; ++i)
        originals << video(i, 200 * 1024 + 2 * i);
    QByteArray input = header(Layout {}) + originals[0] + garbage(1234);
    QList<qint64> sourcePos {header(Layout {}).size()};
    for (int i = 1; i < originals.size(); ++i) {
        sourcePos << input.size();
        input += originals[i];
    }
    const Outcome o = repair(input);
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(kept(o.structure, originals), range(0, 48));
    for (size_t i = 1; i < o.structure.entries.size(); ++i)
        EXPECT_EQ((o.structure.movieRef + o.structure.entries[i].offset) % 4096, sourcePos[int(i)] % 4096) << i;
    EXPECT_FALSE(o.output.contains(garbage(1234)));
    const qint64 firstEnd = o.structure.movieRef + o.structure.entries[0].offset + 8 + 200 * 1024;
    EXPECT_EQ(o.output.mid(firstEnd, 4), "JUNK");

    // A short file is left exactly as cut.
    const QByteArray small = header(Layout {}) + originals[0] + garbage(1234) + originals[1];
    const Outcome s = repair(small);
    ASSERT_TRUE(s.structure.ok);
    EXPECT_EQ(s.structure.entries[1].offset, s.structure.entries[0].offset + 8 + 200 * 1024);
}

TEST_F(RepairTest, RemainderAtAnOddOffsetIsCopiedByteForByte)
{
    // After an odd run of bad bytes the chunks lie at odd offsets, which no even target offset can match
    // within a page: they are copied through a buffer, several fills of it here, in pieces of many sizes.
    QList<QByteArray> originals;
    for (int i = 0; i < 40; ++i)
        originals << video(i, 300 * 1024 + 2 * i + 1);
    QByteArray input = header(Layout {}) + originals[0] + garbage(1235);
    const qint64 remainderAt = input.size();
    ASSERT_EQ(remainderAt % 2, 1);
    for (int i = 1; i < originals.size(); ++i)
        input += originals[i];
    const Outcome o = repair(input);
    ASSERT_TRUE(o.ok) << o.error.toStdString();
    ASSERT_TRUE(o.structure.ok) << o.structure.problem.toStdString();
    EXPECT_EQ(kept(o.structure, originals), range(0, 40));
    const qint64 copiedAt = o.structure.movieRef + o.structure.entries[1].offset;
    EXPECT_EQ(copiedAt % 2, 0);
    EXPECT_TRUE(o.output.mid(copiedAt, input.size() - remainderAt) == input.mid(remainderAt));
}

} // namespace
