// The repair engine against hostile input and failing media: unreadable sectors, crafted headers, stray
// indexes, the same file by another name.
#include "AviTestSupport.h"
#include "ReadFaultDevice.h"
#include "repair/AviSourceReader.h"
#include "repair/CAviRepairCore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace avitest;

namespace {

constexpr qint64 kPiece = AviSourceReader::kRescuePieceBytes;

QByteArray frame(int n, int size)
{
    return chunk("00dc", payload(size, QByteArray("\x00\x00\x01\x00", 4), n));
}

QList<QByteArray> frames(int count, int size)
{
    QList<QByteArray> list;
    for (int i = 0; i < count; ++i)
        list << frame(i, size);
    return list;
}

QByteArray join(const QByteArray& head, const QList<QByteArray>& pieces)
{
    QByteArray all = head;
    for (const QByteArray& p : pieces)
        all += p;
    return all;
}

// The frames of `originals` the result holds, by their data; -1 for data that matches none.
QList<int> kept(const Structure& s, const QList<QByteArray>& originals)
{
    QList<int> result;
    for (const QByteArray& data : s.chunkData) {
        int found = -1;
        for (int i = 0; i < originals.size(); ++i) {
            if (originals[i].mid(8, readLe32(originals[i], 4)) == data)
                found = i;
        }
        result << found;
    }
    return result;
}

struct DeviceRepair
{
    bool ok = false;
    QString error;
    qint64 unreadable = 0;
    Structure structure;
    QByteArray output;
};

DeviceRepair repairDevice(QIODevice& source, bool cutOutDamage = true)
{
    QBuffer target;
    target.open(QIODevice::ReadWrite);
    CAviRepairCore engine;
    DeviceRepair r;
    r.ok = engine.RepairDevice(&source, &target, cutOutDamage, false);
    r.error = engine.errorString();
    r.unreadable = engine.unreadableBytes();
    r.output = target.data();
    if (r.ok)
        r.structure = inspect(r.output);
    return r;
}

// ----------------------------------------------------------------------------------------------------------
// Unreadable sectors in the movie data are damage: stepped over, counted, never the end of the repair.

struct UnreadableCase
{
    const char* what;
    int frameSize;
    int badFrame; // the frame whose data holds the bad sector; -1: in the header
    int failures; // -1: the sector never reads; n: it fails n times, then reads
    bool ok;
    bool badFrameKept; // the frame with the bad sector is kept (its unreadable piece as zeros)
    qint64 unreadable; // at most this many bytes counted (0: none)
};

class UnreadableSector : public ::testing::TestWithParam<UnreadableCase>
{
};

TEST_P(UnreadableSector, IsDamageNotFailure)
{
    const UnreadableCase c = GetParam();
    const QList<QByteArray> chunks = frames(16, c.frameSize);
    const QByteArray input = file(Layout {}, chunks, false, false);
    const qint64 first = movieRef(input) + 4;
    qint64 badAt = 40; // inside "avih"
    if (c.badFrame >= 0) {
        qint64 at = first;
        for (int i = 0; i < c.badFrame; ++i)
            at += chunks[i].size();
        badAt = at + 8 + c.frameSize / 2;
    }
    ReadFaultDevice source(input, { { badAt, 10, c.failures } });
    const DeviceRepair r = repairDevice(source);
    ASSERT_EQ(r.ok, c.ok) << c.what << ": " << r.error.toStdString();
    if (!c.ok) {
        EXPECT_TRUE(r.error.contains(QStringLiteral("reading"))) << r.error.toStdString();
        return;
    }
    ASSERT_TRUE(r.structure.ok) << c.what << ": " << r.structure.problem.toStdString();
    if (c.unreadable == 0) {
        EXPECT_EQ(r.unreadable, 0) << c.what;
    } else {
        EXPECT_GT(r.unreadable, 0) << c.what;
        EXPECT_LE(r.unreadable, c.unreadable) << c.what;
    }
    EXPECT_GT(source.failedReads(), 0) << c.what;

    // The bad bytes lie in one rescue piece; the frames wholly outside it are all kept, in order, and the bad
    // frame is either dropped or (when only the copy of its data met the bad piece) kept with that piece as
    // zeros.
    const qint64 pieceFrom = badAt / kPiece * kPiece;
    const qint64 pieceTo = pieceFrom + kPiece;
    const QList<int> got = kept(r.structure, chunks);
    int previous = -1;
    qint64 at = first;
    for (int i = 0; i < chunks.size(); ++i) {
        const bool touches = at < pieceTo && pieceFrom < at + chunks[i].size();
        at += chunks[i].size();
        const bool present = got.contains(i);
        if (!touches || c.failures >= 0) {
            EXPECT_TRUE(present) << c.what << ": frame " << i << " is lost";
        }
        if (i == c.badFrame && c.failures < 0 && !c.badFrameKept) {
            EXPECT_FALSE(present) << c.what << ": the unreadable frame was taken";
        }
    }
    for (int g : got) {
        if (g < 0)
            continue;
        EXPECT_GT(g, previous) << c.what << ": frames out of order";
        previous = g;
    }
    const int damaged = int(got.count(-1));
    EXPECT_EQ(damaged, c.badFrameKept && c.failures < 0 ? 1 : 0) << c.what;
    if (damaged == 1) {
        const QByteArray data = r.structure.chunkData[got.indexOf(-1)];
        const QByteArray original = chunks[c.badFrame].mid(8, c.frameSize);
        ASSERT_EQ(data.size(), original.size());
        // Differs from the original only in zeros, and only in one piece's worth.
        int differing = 0;
        for (int k = 0; k < data.size(); ++k) {
            if (data[k] != original[k]) {
                EXPECT_EQ(data[k], '\0');
                ++differing;
            }
        }
        EXPECT_GT(differing, 0);
        EXPECT_LE(differing, kPiece);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadableSector,
    ::testing::Values(
        // Small frames: the walk reads over the bad piece itself and drops the frames it touches.
        UnreadableCase { "small frames, bad sector", 3000, 6, -1, true, false, kPiece },
        // A large frame: the walk reads only its header, the copy finds the bad piece inside its data.
        UnreadableCase { "large frame, bad sector", 200000, 3, -1, true, true, kPiece },
        // A sector that reads on the second try is no damage at all.
        UnreadableCase { "small frames, transient error", 3000, 6, 1, true, true, 0 },
        UnreadableCase { "large frame, transient error", 200000, 3, 1, true, true, 0 },
        // Without the header there is nothing to rebuild on.
        UnreadableCase { "bad sector in the header", 3000, -1, -1, false, false, 0 }),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(UnreadableSource, ACardPulledMidWayFailsTheRepair)
{
    const QByteArray input = file(Layout {}, frames(30, 3000), false, false);
    ReadFaultDevice source(input, {}, input.size() / 2);
    const DeviceRepair r = repairDevice(source);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("reading"))) << r.error.toStdString();
}

TEST(UnreadableSource, ABadAreaIsSkippedWithoutAskingForEverySector)
{
    // 256 KiB that never read in the middle of 3000-byte frames: the frames before and after it all come
    // through, the area is counted, and the card is not asked for each of its 512 sectors one by one.
    QList<QByteArray> chunks; // each numbered in its first bytes: payloads repeat after 128 frames
    for (int i = 0; i < 400; ++i)
        chunks << chunk("00dc", payload(3000, QByteArray("\x00\x00\x01\x00", 4) + le32(uint32_t(i)), i));
    const QByteArray input = file(Layout {}, chunks, false, false);
    const qint64 badFrom = input.size() / 2;
    const qint64 badLength = 256 * 1024;
    ReadFaultDevice source(input, { { badFrom, badLength, -1 } });
    const DeviceRepair r = repairDevice(source);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_TRUE(r.structure.ok) << r.structure.problem.toStdString();
    EXPECT_GE(r.unreadable, badLength);
    EXPECT_LE(r.unreadable, 3 * badLength) << "far more was given up than the bad area";
    EXPECT_LT(source.failedReads(), 200) << "every sector of the bad area was asked for";
    const qint64 first = movieRef(input) + 4;
    const QList<int> got = kept(r.structure, chunks);
    // Every frame wholly before the bad area, and every frame past what was given up, is kept.
    const qint64 givenUpEnd = badFrom / 512 * 512 + r.unreadable;
    int before = 0;
    int beforeTotal = 0;
    int after = 0;
    int afterTotal = 0;
    for (int i = 0; i < chunks.size(); ++i) {
        const qint64 at = first + qint64(i) * chunks[i].size();
        if (at + chunks[i].size() <= badFrom / 512 * 512) {
            ++beforeTotal;
            before += got.contains(i) ? 1 : 0;
        }
        if (at >= givenUpEnd) {
            ++afterTotal;
            after += got.contains(i) ? 1 : 0;
        }
    }
    EXPECT_EQ(before, beforeTotal);
    EXPECT_GT(afterTotal, 50);
    EXPECT_EQ(after, afterTotal);
    // At most the frame the bad area starts in is kept with a zeroed end (its header was read before).
    EXPECT_LE(got.count(-1), 1);
}

// ----------------------------------------------------------------------------------------------------------
// Crafted headers and stray indexes.

TEST(CraftedHeader, DeeplyNestedListsAreWalkedWithoutRecursion)
{
    // Far deeper than a thread's stack would allow for a recursive walk, and still a few MiB only.
    constexpr int kDepth = 400000;
    QByteArray nest;
    nest.reserve(kDepth * 12);
    for (int i = 0; i < kDepth; ++i)
        nest += QByteArray("LIST", 4) + le32(uint32_t(4 + 12 * (kDepth - 1 - i))) + QByteArray("nest", 4);
    const QList<QByteArray> chunks = frames(5, 500);
    const QByteArray plain = file(Layout {}, chunks, false, false);
    const qint64 movieList = movieRef(plain) - 8; // "LIST" size "movi"
    const QByteArray input = plain.left(movieList) + nest + plain.mid(movieList);

    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    const DeviceRepair r = repairDevice(source);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_TRUE(r.structure.ok) << r.structure.problem.toStdString();
    EXPECT_EQ(r.structure.entries.size(), 5u);
    EXPECT_EQ(r.structure.avihFrames, 5u);
}

TEST(StrayIndex, AnIndexThatRunsPastTheEndIsDamage)
{
    const QList<QByteArray> chunks = frames(6, 700);
    // A multiple of 16, but far past the end of the file.
    const QByteArray stray = QByteArray("idx1", 4) + le32(0x7FFFFFF0);
    const QByteArray garbage(37, '\xC5');
    for (const bool afterGarbage : { false, true }) {
        QList<QByteArray> pieces = chunks.mid(0, 3);
        if (afterGarbage)
            pieces << garbage;
        pieces << stray << chunks.mid(3);
        QBuffer source;
        source.setData(join(header(Layout {}), pieces));
        source.open(QIODevice::ReadOnly);
        const DeviceRepair r = repairDevice(source);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        ASSERT_TRUE(r.structure.ok) << r.structure.problem.toStdString();
        EXPECT_EQ(kept(r.structure, chunks), QList<int>({ 0, 1, 2, 3, 4, 5 })) << "after garbage " << afterGarbage;
    }
}

TEST(StrayIndex, AnIndexThatFitsStillEndsTheFirstRiff)
{
    // The real index of a finished file: the walk passes over it (and does not read its entries as chunks).
    const QList<QByteArray> chunks = frames(4, 700);
    QBuffer source;
    source.setData(file(Layout {}, chunks, true, true));
    source.open(QIODevice::ReadOnly);
    const DeviceRepair r = repairDevice(source);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(kept(r.structure, chunks), QList<int>({ 0, 1, 2, 3 }));
}

// Found by fuzzing: the file is recognised by "AVI LIST", so a damaged "RIFF" id was copied into a result
// that said ok but was no RIFF file.
TEST(CraftedHeader, ADamagedRiffIdIsWrittenAgain)
{
    QByteArray input = file(Layout {}, frames(3, 40), false, false);
    input[1] = char(0xAF);
    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    const DeviceRepair r = repairDevice(source);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.output.left(4), "RIFF");
    EXPECT_TRUE(r.structure.ok) << r.structure.problem.toStdString();
}

// Found by fuzzing: a header chunk whose size is just under 4 GiB (8 + size wraps to 0 in 32 bits) must
// neither stall the header walks nor the checks of the result.
TEST(CraftedHeader, AChunkSizeJustUnderFourGiBEndsTheHeaderWalk)
{
    const QList<QByteArray> chunks = frames(3, 40);
    const QByteArray plain = file(Layout {}, chunks, false, false);
    const qint64 movieList = movieRef(plain) - 8;
    // Inside "hdrl", which ends right before the movie list and grows by the 8 bytes.
    QByteArray input = plain.left(movieList) + QByteArray("JUNK", 4) + le32(0xFFFFFFF8) + plain.mid(movieList);
    ASSERT_EQ(input.mid(12, 4), "LIST");
    ASSERT_EQ(input.mid(20, 4), "hdrl");
    input.replace(16, 4, le32(readLe32(input, 16) + 8));
    QBuffer source;
    source.setData(input);
    source.open(QIODevice::ReadOnly);
    const DeviceRepair r = repairDevice(source);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.structure.ok) << r.structure.problem.toStdString();
    EXPECT_EQ(kept(r.structure, chunks), QList<int>({ 0, 1, 2 }));
}

// ----------------------------------------------------------------------------------------------------------
// The same file by another name.

TEST(SameFile, IsRefusedByWhatItIsNotByItsName)
{
    QTemporaryDir dir;
    const QByteArray input = file(Layout {}, frames(5, 300), false, false);
    const QString source = dir.filePath(QStringLiteral("CLIP.AVI"));
    ASSERT_TRUE(writeFile(source, input));
    const QString hardLink = dir.filePath(QStringLiteral("clip.avi"));
    ASSERT_EQ(::link(QFile::encodeName(source).constData(), QFile::encodeName(hardLink).constData()), 0);
    const QString symLink = dir.filePath(QStringLiteral("link.avi"));
    ASSERT_TRUE(QFile::link(source, symLink));
    const QString sameByPath = dir.filePath(QStringLiteral("sub/../CLIP.AVI"));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));

    for (const QString& target : { hardLink, symLink, sameByPath }) {
        CAviRepairCore engine;
        EXPECT_FALSE(engine.RepairFile(source, target, true, true, false, true)) << target.toStdString();
        EXPECT_TRUE(engine.errorString().contains(QStringLiteral("source file itself")))
            << engine.errorString().toStdString();
        EXPECT_EQ(readFile(source), input);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file stays";

    CAviRepairCore engine;
    EXPECT_TRUE(engine.RepairFile(source, dir.filePath(QStringLiteral("other.avi")), true, true, false, true));
    EXPECT_EQ(readFile(source), input);
}

} // namespace
