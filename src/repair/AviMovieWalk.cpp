#include "repair/AviMovieWalk.h"

#include "repair/AviBytes.h"
#include "repair/AviSourceReader.h"
#include "repair/AviTargetWriter.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

using namespace avibytes;

namespace {

// The damage search reads this much at a time.
constexpr int64_t kScanBlock = 4 * 1024 * 1024;
// Chunk data bytes the key-frame rules look at.
constexpr int64_t kKeyFrameBytes = 64;
// idx1 offsets and the RIFF size are 32-bit: chunks stop being taken before they would overflow.
constexpr int64_t kMaxOutputBytes = 0xFFFFFFFFll - 8192;

} // namespace

AviMovieWalk::AviMovieWalk(AviSourceReader& in, AviTargetWriter& out, AviKeyFrameRule& keyRule,
    std::function<void()> pump, int64_t fileSize, int64_t movieRef, Options options)
    : m_in(in)
    , m_out(out)
    , m_keyRule(keyRule)
    , m_pump(std::move(pump))
    , m_fileSize(fileSize)
    , m_movieRef(movieRef)
    , m_options(options)
    , m_readPos(movieRef + 4)
    , m_outPos(movieRef + 4)
{
}

void AviMovieWalk::copyThrough(int64_t from, int64_t to)
{
    if (to > from) {
        m_out.copyFromSource(from, to - from);
        m_outPos += to - from;
    }
}

bool AviMovieWalk::structuralAt(int64_t pos)
{
    int64_t available = 0;
    const unsigned char* p = m_in.peek(pos, 12, &available);
    if (available < 8)
        return false;
    const uint32_t size = le32(p + 4);
    const bool fits = pos + 8 + int64_t(size) <= m_fileSize;
    if (isFourcc(p, "LIST") || isFourcc(p, "RIFF")) {
        if (available < 12)
            return false;
        return isFourcc(p + 8, "rec ") || isFourcc(p + 8, "movi") || isFourcc(p + 8, "AVIX");
    }
    if (isFourcc(p, "idx1"))
        return size % 16 == 0 && fits; // a stray "idx1" that runs past the end would swallow every chunk after it
    if (isIndexChunkId(p) || isFourcc(p, "JUNK"))
        return fits;
    return false;
}

bool AviMovieWalk::streamCandidateAt(int64_t pos, bool keyFrameOnly)
{
    int64_t available = 0;
    const unsigned char* p = m_in.peek(pos, 8, &available);
    if (available < 8 || !isStreamId(p))
        return false;
    const bool audio = p[2] == 'w';
    const bool compressedVideo = p[3] == 'c';
    const int stream = streamNumber(p);
    const uint32_t size = le32(p + 4);
    if (size >= kMaxChunkSize || pos + 8 + int64_t(size) > m_fileSize || m_in.unreadableWithin(pos, 8 + int64_t(size)))
        return false;
    if (!keyFrameOnly)
        return true;
    if (audio)
        return false;
    if (!compressedVideo)
        return true;
    p = m_in.peek(pos, 8 + std::min<int64_t>(size, kKeyFrameBytes), &available);
    return m_keyRule.isKeyFrame(p + 8, uint32_t(available - 8), size, m_streamChunks[size_t(stream)]);
}

bool AviMovieWalk::acceptableAt(int64_t pos)
{
    return streamCandidateAt(pos, m_options.restartAtKeyFrame) || structuralAt(pos);
}

int64_t AviMovieWalk::searchFrom(int64_t from)
{
    int64_t pos = from;
    while (pos + 8 <= m_fileSize && !m_in.failed()) {
        pump();
        int64_t available = 0;
        const unsigned char* p = m_in.block(pos, kScanBlock, &available);
        const int64_t last = available - 8;
        if (last < 0)
            break;
        int64_t k = 0;
        for (; k <= last; ++k) {
            const unsigned char* q = p + k;
            // Cheap filter on every byte alignment; the full test follows.
            if (isStreamId(q) || ((q[0] == 'L' || q[0] == 'R' || q[0] == 'i' || q[0] == 'J') && (isFourcc(q, "LIST")
                   || isFourcc(q, "RIFF") || isFourcc(q, "idx1") || isIndexChunkId(q) || isFourcc(q, "JUNK"))))
                break;
        }
        if (k > last) {
            pos += last + 1;
            continue;
        }
        const int64_t candidate = pos + k;
        if (acceptableAt(candidate))
            return candidate;
        // Passed over: the search goes on beyond it, never testing the same place twice.
        pos = candidate + 1;
    }
    return -1;
}

int64_t AviMovieWalk::firstStreamChunk(int64_t from, int64_t to)
{
    int64_t available = 0;
    const unsigned char* head = m_in.peek(from, 8, &available);
    if (available == 8 && from + 8 <= to && isStreamId(head))
        return from; // the usual case, without reading the list's data
    for (int64_t pos = from; pos + 8 <= to && !m_in.failed();) {
        const unsigned char* p = m_in.block(pos, std::min(to - pos, kScanBlock), &available);
        if (available < 8)
            break;
        for (int64_t k = 0; k + 8 <= available; ++k) {
            if (isStreamId(p + k))
                return pos + k;
        }
        pos += available - 7;
    }
    return -1;
}

void AviMovieWalk::resynchronise()
{
    const int64_t from = m_readPos;
    const int64_t found = searchFrom(from + 1);
    const int64_t to = found < 0 ? m_fileSize : found;
    if (!m_options.cutOutDamage)
        copyThrough(from, to);
    m_readPos = to;
    m_afterOddChunk = false;
    if (m_options.restartAtKeyFrame)
        m_needKeyFrame = true;
    if (m_options.cutOutDamage)
        realign();
}

void AviMovieWalk::realign()
{
    // Copies between files are far cheaper when source and target offsets lie at the same place within a
    // memory page (the kernel then moves whole pages). After bytes were dropped, a long remainder is worth a
    // "JUNK" filler of under 4 KiB that restores that; short files are left exactly as cut.
    constexpr int64_t kPage = 4096;
    constexpr int64_t kWorthIt = 8 * 1024 * 1024;
    if (!m_out.active() || m_fileSize - m_readPos < kWorthIt || (m_readPos & 1))
        return;
    if (m_outPos & 1) {
        m_out.appendZeros(1); // the pad byte the next chunk would get
        ++m_outPos;
    }
    int64_t gap = ((m_readPos - m_outPos) % kPage + kPage) % kPage;
    if (gap == 0)
        return;
    if (gap < 8)
        gap += kPage;
    QByteArray junk("JUNK", 4);
    junk.append(le32Bytes(uint32_t(gap - 8)));
    junk.append(QByteArray(int(gap - 8), '\0'));
    m_out.append(junk);
    m_outPos += gap;
}

bool AviMovieWalk::takeStreamChunk(int64_t pos, uint32_t size)
{
    if (int64_t(m_index.size()) >= kMaxIndexEntries
        || m_outPos + 1 + 8 + int64_t(size) + int64_t(m_index.size() + 1) * 16 + 8 > kMaxOutputBytes) {
        m_indexFull = true;
        return false;
    }
    int64_t available = 0;
    const int64_t total = 8 + int64_t(size);
    if (m_outPos & 1) {
        // Keep every chunk on an even offset. The source's own pad byte is used when it is zero, so that
        // the copy stays one piece.
        const unsigned char* pad = m_in.peek(pos - 1, 1, &available);
        if (available == 1 && pad[0] == 0)
            m_out.copyFromSource(pos - 1, 1);
        else
            m_out.appendZeros(1);
        ++m_outPos;
    }
    const unsigned char* p = m_in.peek(pos, 8 + std::min<int64_t>(size, kKeyFrameBytes), &available);
    if (available < 8 + std::min<int64_t>(size, kKeyFrameBytes))
        return false; // read failure; the walk ends on it
    const unsigned char* data = p + 8;
    const uint32_t head = uint32_t(available - 8);
    const int stream = streamNumber(p);
    uint32_t flags = AviKeyFrameRule::kKeyFrameFlag;
    if (p[2] == 'd' && p[3] == 'c') {
        flags = m_keyRule.indexFlags(data, head, size, m_streamChunks[size_t(stream)]);
        m_keyRule.noteTaken(data, head, size);
    }
    IndexEntry entry;
    std::memcpy(entry.id.data(), p, 4);
    entry.flags = flags;
    entry.offset = uint32_t(m_outPos - m_movieRef);
    entry.size = size;
    m_index.push_back(entry);
    m_sourcePositions.push_back(pos);
    ++m_streamChunks[size_t(stream)];
    m_streamBytes[size_t(stream)] += size;

    m_out.copyFromSource(pos, total);
    m_outPos += total;
    m_readPos = pos + total;
    m_afterOddChunk = (size & 1) != 0;
    m_needKeyFrame = false;
    return true;
}

void AviMovieWalk::run()
{
    while (m_readPos < m_fileSize && m_endMarkers == 0 && !m_indexFull && !m_in.failed() && !m_out.failed()) {
        pump();
        if (m_afterOddChunk) {
            // An odd-sized chunk is followed by a pad byte. A writer that left it out is recognised by a
            // chunk id right here where there is none one byte on.
            m_afterOddChunk = false;
            const bool idHere = streamCandidateAt(m_readPos, false) || structuralAt(m_readPos);
            if (!idHere || streamCandidateAt(m_readPos + 1, false) || structuralAt(m_readPos + 1))
                ++m_readPos;
            continue;
        }
        int64_t available = 0;
        const unsigned char* p = m_in.peek(m_readPos, 20, &available);
        if (available < 8) {
            resynchronise();
            continue;
        }
        const uint32_t size = le32(p + 4);
        const bool fits = m_readPos + 8 + int64_t(size) <= m_fileSize;
        if (isStreamId(p)) {
            if (size < 0x80000000u && (size == 0 || size == 16) && available >= 20 && isStreamId(p + 16)) {
                ++m_endMarkers;
                break;
            }
            if (size < kMaxChunkSize && fits && !m_in.unreadableWithin(m_readPos, 8 + int64_t(size))
                && (!m_needKeyFrame || streamCandidateAt(m_readPos, true))) {
                if (!takeStreamChunk(m_readPos, size))
                    break;
                continue;
            }
        } else if (isFourcc(p, "LIST") && available >= 12) {
            // The chunks of a list ("rec ", the "movi" of an extension RIFF) are walked like any others,
            // from the first stream chunk inside it; a list without one is passed over.
            // A list whose size was never written (0, or past the end) reaches to the end of the file.
            const bool bounded = size >= 4 && fits;
            const int64_t bodyEnd = bounded ? m_readPos + 8 + int64_t(size) : m_fileSize;
            const int64_t first = firstStreamChunk(m_readPos + 12, bodyEnd);
            m_readPos = first >= 0 ? first : bodyEnd + (bounded ? (size & 1) : 0);
            continue;
        } else if (isFourcc(p, "rec ")) {
            m_readPos += 4;
            continue;
        } else if (isFourcc(p, "idx1") && fits) {
            // An old index ends the first RIFF; an OpenDML extension RIFF may follow it. One whose size runs
            // past the end of the file is damage: the chunks after it are searched for.
            m_readPos += 8 + int64_t(size) + (size & 1);
            const unsigned char* x = m_in.peek(m_readPos, 24, &available);
            if (available == 24 && isFourcc(x, "RIFF") && isFourcc(x + 8, "AVIX") && isFourcc(x + 12, "LIST")
                && isFourcc(x + 20, "movi"))
                m_readPos += 24;
            realign();
            continue;
        } else if (isFourcc(p, "RIFF") && available >= 12 && isFourcc(p + 8, "AVIX")) {
            m_readPos += 12;
            continue;
        } else if (((p[0] == 'i' && p[1] == 'x') || isFourcc(p, "JUNK")) && fits) {
            m_readPos += 8 + int64_t(size) + (size & 1);
            realign();
            continue;
        }
        resynchronise();
    }
}
