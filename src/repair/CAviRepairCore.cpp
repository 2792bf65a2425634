#include "repair/CAviRepairCore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace {

// The source is read through a window this large, so that reads and writes are big sequential pieces;
// it holds a chunk of the largest accepted size with room to spare.
constexpr int64_t kWindowBytes = 16 * 1024 * 1024;
// The damage search scans this much of the window per step.
constexpr int64_t kScanBlock = 4 * 1024 * 1024;
// Header bytes kept in memory for the header correction; a longer header is still copied whole.
constexpr int64_t kMaxHeaderInMemory = 64 * 1024 * 1024;
// idx1 offsets and the RIFF size are 32-bit: chunks stop being taken before they would overflow.
constexpr int64_t kMaxOutputBytes = 0xFFFFFFFFll - 8192;
constexpr int64_t kPumpIntervalMs = 15;
constexpr uint32_t kAvifHasIndex = 0x10;

uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

QByteArray le32Bytes(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Two decimal digits followed by "dc", "db" or "wb".
bool isStreamId(const unsigned char* p)
{
    return isDigit(p[0]) && isDigit(p[1])
        && ((p[2] == 'd' && (p[3] == 'c' || p[3] == 'b')) || (p[2] == 'w' && p[3] == 'b'));
}

bool isFourcc(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

bool isIndexChunkId(const unsigned char* p)
{
    return p[0] == 'i' && p[1] == 'x' && isDigit(p[2]) && isDigit(p[3]);
}

int streamNumber(const unsigned char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Appends to the target sequentially. Consecutive pieces that lie next to each other in memory (kept chunks
// straight from the source window) are joined into one write, so a clean file costs one write per window.
class CAviRepairCore::TargetWriter
{
public:
    explicit TargetWriter(QIODevice* device)
        : m_device(device)
    {
    }

    void append(const unsigned char* data, int64_t size)
    {
        if (!m_device || m_failed || size <= 0)
            return;
        if (m_runLength > 0 && m_run + m_runLength == data) {
            m_runLength += size;
            return;
        }
        flush();
        m_run = data;
        m_runLength = size;
    }

    void appendZeros(int64_t size)
    {
        static const unsigned char zeros[4096] = {};
        while (size > 0) {
            const int64_t n = std::min<int64_t>(size, sizeof zeros);
            append(zeros, n);
            flush(); // the same static block may follow itself
            size -= n;
        }
    }

    void appendCopy(const QByteArray& bytes)
    {
        flush();
        m_owned = bytes;
        append(reinterpret_cast<const unsigned char*>(m_owned.constData()), m_owned.size());
        flush();
    }

    bool flush()
    {
        if (!m_device || m_failed || m_runLength == 0) {
            m_runLength = 0;
            return !m_failed;
        }
        const char* p = reinterpret_cast<const char*>(m_run);
        int64_t left = m_runLength;
        m_runLength = 0;
        while (left > 0) {
            const qint64 n = m_device->write(p, left);
            if (n <= 0) {
                m_failed = true;
                return false;
            }
            p += n;
            left -= n;
        }
        return true;
    }

    bool overwrite(int64_t offset, const QByteArray& bytes)
    {
        if (!m_device || !flush())
            return !m_failed;
        if (!m_device->seek(offset) || m_device->write(bytes) != bytes.size())
            m_failed = true;
        return !m_failed;
    }

    bool failed() const { return m_failed; }
    bool active() const { return m_device != nullptr; }

private:
    QIODevice* m_device;
    const unsigned char* m_run = nullptr;
    int64_t m_runLength = 0;
    QByteArray m_owned;
    bool m_failed = false;
};

// ---------------------------------------------------------------------------------------------------------
// A window over the source: at() makes a range available, reading ahead a whole window at a time. Pointers
// it returns stay valid until the next at() call; before the window moves, pending writes that point into
// it are flushed.
class CAviRepairCore::SourceWindow
{
public:
    SourceWindow(QIODevice* device, int64_t fileSize, TargetWriter* writer)
        : m_device(device)
        , m_fileSize(fileSize)
        , m_writer(writer)
        , m_buffer(size_t(kWindowBytes))
    {
    }

    // Up to `wanted` bytes at `pos`; *available tells how many are there (fewer only at the end of the
    // file or after a read failure).
    const unsigned char* at(int64_t pos, int64_t wanted, int64_t* available)
    {
        wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kWindowBytes);
        if (pos >= m_start && pos + wanted <= m_start + m_length) {
            *available = wanted;
            return m_buffer.data() + (pos - m_start);
        }
        m_writer->flush();
        int64_t kept = 0;
        if (pos >= m_start && pos < m_start + m_length) {
            kept = m_start + m_length - pos;
            std::memmove(m_buffer.data(), m_buffer.data() + (pos - m_start), size_t(kept));
        }
        m_start = pos;
        m_length = kept;
        int64_t toRead = std::min<int64_t>(kWindowBytes, m_fileSize - pos) - kept;
        if (toRead > 0 && !m_failed && !m_device->seek(pos + kept))
            m_failed = true;
        while (toRead > 0 && !m_failed) {
            const qint64 n = m_device->read(reinterpret_cast<char*>(m_buffer.data() + m_length), toRead);
            if (n <= 0) {
                m_failed = true;
                break;
            }
            m_length += n;
            toRead -= n;
        }
        *available = std::min(wanted, m_length);
        return m_buffer.data();
    }

    bool failed() const { return m_failed; }

private:
    QIODevice* m_device;
    int64_t m_fileSize;
    TargetWriter* m_writer;
    std::vector<unsigned char> m_buffer;
    int64_t m_start = 0;
    int64_t m_length = 0;
    bool m_failed = false;
};

// ---------------------------------------------------------------------------------------------------------
// Where the header pieces that get corrected lie (offsets from the start of the file).
struct CAviRepairCore::HeaderLayout
{
    int64_t avih = -1;
    std::array<int64_t, 2> strh {-1, -1};
    std::array<QByteArray, 2> strhType;
    std::array<uint32_t, 2> sampleSize {0, 0};
    int64_t dmlh = -1;
    uint32_t dmlhSize = 0;
    std::vector<int64_t> superIndexes; // "indx" chunk ids
    QByteArray videoCodec;
    int streamLists = 0;

    void parse(const QByteArray& header, int64_t begin, int64_t end) { parseList(header, begin, end, -1); }

private:
    void parseList(const QByteArray& header, int64_t begin, int64_t end, int stream)
    {
        const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
        end = std::min<int64_t>(end, header.size());
        int64_t pos = begin;
        while (pos + 8 <= end) {
            const unsigned char* id = h + pos;
            const uint32_t size = le32(h + pos + 4);
            const int64_t body = pos + 8;
            const int64_t bodyEnd = body + int64_t(size);
            if (isFourcc(id, "LIST")) {
                if (body + 4 > end || isFourcc(h + body, "movi"))
                    return;
                if (isFourcc(h + body, "strl"))
                    parseList(header, body + 4, std::min(bodyEnd, end), streamLists++);
                else
                    parseList(header, body + 4, std::min(bodyEnd, end), stream);
            } else if (isFourcc(id, "avih") && size == 56 && bodyEnd <= end && avih < 0) {
                avih = body;
            } else if (isFourcc(id, "strh") && size == 56 && bodyEnd <= end && stream >= 0 && stream < 2
                && strh[size_t(stream)] < 0) {
                strh[size_t(stream)] = body;
                strhType[size_t(stream)] = QByteArray(reinterpret_cast<const char*>(h + body), 4);
                sampleSize[size_t(stream)] = le32(h + body + 44);
            } else if (isFourcc(id, "strf") && stream >= 0 && stream < 2 && size >= 20 && bodyEnd <= end
                && strhType[size_t(stream)] == "vids" && videoCodec.isEmpty()) {
                videoCodec = QByteArray(reinterpret_cast<const char*>(h + body + 16), 4);
            } else if (isFourcc(id, "dmlh") && size >= 4 && bodyEnd <= end && dmlh < 0) {
                dmlh = body;
                dmlhSize = size;
            } else if (isFourcc(id, "indx")) {
                superIndexes.push_back(pos);
            }
            // Everything else ("strf" of audio, "JUNK", "vprp", "strn", "indx", ...) is passed over by size.
            pos = bodyEnd + (size & 1);
        }
    }
};

// ---------------------------------------------------------------------------------------------------------

CAviRepairCore::CAviRepairCore(Pump pump)
    : m_pump(std::move(pump))
{
}

CAviRepairCore::~CAviRepairCore() = default;

uint32_t CAviRepairCore::streamChunkCount(int stream) const
{
    return stream >= 0 && stream < int(m_streamChunks.size()) ? m_streamChunks[size_t(stream)] : 0;
}

void CAviRepairCore::reset()
{
    m_in.reset();
    m_out.reset();
    m_error.clear();
    m_keyRule = AviKeyFrameRule();
    m_index.clear();
    m_streamChunks.fill(0);
    m_streamBytes.fill(0);
    m_header.clear();
    m_fileSize = m_readPos = m_outPos = m_movieRef = 0;
    m_endMarkers = 0;
    m_needKeyFrame = m_afterOddChunk = m_indexFull = false;
    m_lastPumpMs = 0;
}

bool CAviRepairCore::fail(const QString& message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

void CAviRepairCore::pumpIfDue()
{
    if (!m_pump)
        return;
    const int64_t now = nowMs();
    if (now - m_lastPumpMs >= kPumpIntervalMs) {
        m_lastPumpMs = now;
        m_pump();
    }
}

bool CAviRepairCore::RepairFile(const QString& source, const QString& target, bool separateTarget,
    bool cutOutDamage, bool checkOnly, bool restartAtKeyFrame)
{
    reset();
    if (!separateTarget && !checkOnly)
        return fail(QStringLiteral("repairing in place is refused: the damaged file would be overwritten"));

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("cannot open %1: %2").arg(source, in.errorString()));
    if (!identify(&in))
        return false;
    if (checkOnly)
        return RepairDevice(&in, nullptr, cutOutDamage, restartAtKeyFrame);

    const QFileInfo sourceInfo(source);
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == sourceInfo.canonicalFilePath())
        return fail(QStringLiteral("the target is the source file itself"));

    // The result is built under a temporary name beside the target and renamed only when complete.
    const QDir dir = targetInfo.absoluteDir();
    QFile out;
    for (int attempt = 0; attempt < 100 && !out.isOpen(); ++attempt) {
        out.setFileName(dir.filePath(QStringLiteral(".%1.%2.repairing")
                                         .arg(targetInfo.fileName())
                                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
        if (out.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered))
            break;
        if (out.exists())
            continue;
        return fail(QStringLiteral("cannot create %1: %2").arg(target, out.errorString()));
    }
    if (!out.isOpen())
        return fail(QStringLiteral("cannot create %1").arg(target));

    std::unique_ptr<QIODevice> wrapped = m_targetWrapper ? m_targetWrapper(&out) : nullptr;
    bool ok = RepairDevice(&in, wrapped ? wrapped.get() : &out, cutOutDamage, restartAtKeyFrame);
    wrapped.reset();
    if (ok && !out.flush())
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, out.errorString()));
    out.close();
    if (ok && out.error() != QFileDevice::NoError)
        ok = fail(QStringLiteral("writing %1 failed: %2").arg(target, out.errorString()));
    if (ok) {
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
            | QFileDevice::ReadOther);
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(out.fileName()).toStdString(),
            QFile::encodeName(targetInfo.absoluteFilePath()).toStdString(), ec);
        if (ec)
            ok = fail(QStringLiteral("cannot move the result to %1: %2")
                          .arg(target, QString::fromLocal8Bit(ec.message().c_str())));
    }
    if (!ok)
        out.remove();
    return ok;
}

bool CAviRepairCore::RepairDevice(QIODevice* source, QIODevice* target, bool cutOutDamage, bool restartAtKeyFrame)
{
    reset();
    m_cutOutDamage = cutOutDamage;
    m_restartAtKeyFrame = restartAtKeyFrame;
    if (!source || !source->isOpen() || !source->isReadable())
        return fail(QStringLiteral("the source is not readable"));
    if (target && (!target->isOpen() || !target->isWritable()))
        return fail(QStringLiteral("the target is not writable"));
    m_fileSize = source->size();
    m_out = std::make_unique<TargetWriter>(target);
    m_in = std::make_unique<SourceWindow>(source, m_fileSize, m_out.get());
    m_lastPumpMs = nowMs();

    if (!identify(source))
        return false;
    if (!findMovieList())
        return fail(QStringLiteral("the file has no movie list"));
    if (!copyHeader())
        return fail(m_in->failed() ? QStringLiteral("reading the source failed")
                                   : QStringLiteral("writing the target failed"));
    walk();
    if (m_in->failed())
        return fail(QStringLiteral("reading the source failed"));
    if (!finish() || m_out->failed())
        return fail(QStringLiteral("writing the target failed"));
    return true;
}

bool CAviRepairCore::identify(QIODevice* source)
{
    unsigned char head[16] = {};
    if (m_in) {
        int64_t available = 0;
        const unsigned char* p = m_in->at(0, 16, &available);
        std::memcpy(head, p, size_t(available));
        if (available < 16 && !(available >= 4 && head[0] == 0x1A))
            return fail(QStringLiteral("not an AVI file"));
    } else {
        if (!source->seek(0) || source->read(reinterpret_cast<char*>(head), 16) < 4)
            return fail(QStringLiteral("not an AVI file"));
    }
    if (head[0] == 0x1A && head[1] == 0x45 && head[2] == 0xDF && head[3] == 0xA3)
        return fail(QStringLiteral("a Matroska file is not repaired"));
    if (std::memcmp(head + 8, "AVI LIST", 8) != 0)
        return fail(QStringLiteral("not an AVI file"));
    return true;
}

bool CAviRepairCore::findMovieList()
{
    int64_t p = 16;
    while (p + 8 <= m_fileSize) {
        int64_t available = 0;
        const unsigned char* b = m_in->at(p, 8, &available);
        if (available < 8)
            return false;
        if (isFourcc(b + 4, "movi")) {
            m_movieRef = p + 4;
            return true;
        }
        const uint32_t size = le32(b);
        p += 8 + int64_t(size) + (size & 1);
        pumpIfDue();
    }
    return false;
}

bool CAviRepairCore::copyHeader()
{
    const int64_t headerEnd = m_movieRef + 4;
    for (int64_t pos = 0; pos < headerEnd;) {
        int64_t available = 0;
        const unsigned char* p = m_in->at(pos, std::min(headerEnd - pos, kScanBlock), &available);
        if (available <= 0)
            return false;
        if (pos < kMaxHeaderInMemory)
            m_header.append(reinterpret_cast<const char*>(p), int(std::min(available, kMaxHeaderInMemory - pos)));
        m_out->append(p, available);
        pos += available;
    }
    m_readPos = m_outPos = headerEnd;

    HeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    QByteArray codec = layout.videoCodec;
    if (codec.size() != 4 && m_header.size() >= 192)
        codec = m_header.mid(188, 4);
    m_keyRule.setCodec(codec);
    return !m_out->failed();
}

bool CAviRepairCore::copyThrough(int64_t from, int64_t to)
{
    while (from < to) {
        int64_t available = 0;
        const unsigned char* p = m_in->at(from, std::min(to - from, kScanBlock), &available);
        if (available <= 0)
            return false;
        m_out->append(p, available);
        m_outPos += available;
        from += available;
    }
    return true;
}

bool CAviRepairCore::structuralAt(int64_t pos)
{
    int64_t available = 0;
    const unsigned char* p = m_in->at(pos, 12, &available);
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
        return size % 16 == 0;
    if (isIndexChunkId(p) || isFourcc(p, "JUNK"))
        return fits;
    return false;
}

bool CAviRepairCore::streamCandidateAt(int64_t pos)
{
    int64_t available = 0;
    const unsigned char* p = m_in->at(pos, 8, &available);
    if (available < 8 || !isStreamId(p))
        return false;
    const bool audio = p[2] == 'w';
    const bool compressedVideo = p[3] == 'c';
    const int stream = streamNumber(p);
    const uint32_t size = le32(p + 4);
    if (size >= kMaxChunkSize || pos + 8 + int64_t(size) > m_fileSize)
        return false;
    if (!m_restartAtKeyFrame)
        return true;
    if (audio)
        return false;
    if (!compressedVideo)
        return true;
    p = m_in->at(pos, 8 + std::min<int64_t>(size, 64), &available);
    return m_keyRule.isKeyFrame(p + 8, uint32_t(available - 8), size, m_streamChunks[size_t(stream)]);
}

bool CAviRepairCore::acceptableAt(int64_t pos)
{
    return streamCandidateAt(pos) || structuralAt(pos);
}

int64_t CAviRepairCore::searchFrom(int64_t from)
{
    int64_t pos = from;
    while (pos + 8 <= m_fileSize && !m_in->failed()) {
        pumpIfDue();
        int64_t available = 0;
        const unsigned char* p = m_in->at(pos, kScanBlock, &available);
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

void CAviRepairCore::resynchronise()
{
    const int64_t from = m_readPos;
    const int64_t found = searchFrom(from + 1);
    const int64_t to = found < 0 ? m_fileSize : found;
    if (!m_cutOutDamage)
        copyThrough(from, to);
    m_readPos = to;
    m_afterOddChunk = false;
    if (m_restartAtKeyFrame)
        m_needKeyFrame = true;
}

bool CAviRepairCore::takeStreamChunk(int64_t pos, uint32_t size)
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
        // the write stays one piece.
        const unsigned char* p = m_in->at(pos - 1, total + 1, &available);
        if (available == total + 1 && p[0] == 0) {
            m_out->append(p, 1);
        } else {
            m_out->appendZeros(1);
        }
        ++m_outPos;
    }
    const unsigned char* p = m_in->at(pos, total, &available);
    if (available < total)
        return false; // read failure; the walk ends on it
    const unsigned char* data = p + 8;
    const int stream = streamNumber(p);
    uint32_t flags = AviKeyFrameRule::kKeyFrameFlag;
    if (p[2] == 'd' && p[3] == 'c') {
        flags = m_keyRule.indexFlags(data, size, size, m_streamChunks[size_t(stream)]);
        m_keyRule.noteTaken(data, size, size);
    }
    IndexEntry entry;
    std::memcpy(entry.id.data(), p, 4);
    entry.flags = flags;
    entry.offset = uint32_t(m_outPos - m_movieRef);
    entry.size = size;
    m_index.push_back(entry);
    ++m_streamChunks[size_t(stream)];
    m_streamBytes[size_t(stream)] += size;

    m_out->append(p, total);
    m_outPos += total;
    m_readPos = pos + total;
    m_afterOddChunk = (size & 1) != 0;
    m_needKeyFrame = false;
    return true;
}

void CAviRepairCore::walk()
{
    while (m_readPos < m_fileSize && m_endMarkers == 0 && !m_indexFull && !m_in->failed() && !m_out->failed()) {
        pumpIfDue();
        if (m_afterOddChunk) {
            // An odd-sized chunk is followed by a pad byte. A writer that left it out is recognised by a
            // chunk id right here where there is none one byte on.
            m_afterOddChunk = false;
            const bool idHere = streamCandidateAt(m_readPos) || structuralAt(m_readPos);
            if (!idHere || streamCandidateAt(m_readPos + 1) || structuralAt(m_readPos + 1))
                ++m_readPos;
            continue;
        }
        int64_t available = 0;
        const unsigned char* p = m_in->at(m_readPos, 20, &available);
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
            if (size < kMaxChunkSize && fits && (!m_needKeyFrame || streamCandidateAt(m_readPos))) {
                if (!takeStreamChunk(m_readPos, size))
                    break;
                continue;
            }
        } else if (isFourcc(p, "LIST") && available >= 12) {
            if (isFourcc(p + 8, "rec ") || isFourcc(p + 8, "movi")) {
                m_readPos += 12; // the chunks inside are walked like any others
                continue;
            }
            if (size >= 4 && fits) {
                m_readPos += 8 + int64_t(size) + (size & 1);
                continue;
            }
        } else if (isFourcc(p, "rec ")) {
            m_readPos += 4;
            continue;
        } else if (isFourcc(p, "idx1")) {
            // An old index ends the first RIFF; an OpenDML extension RIFF may follow it.
            m_readPos = fits ? m_readPos + 8 + int64_t(size) + (size & 1) : m_fileSize;
            const unsigned char* x = m_in->at(m_readPos, 24, &available);
            if (available == 24 && isFourcc(x, "RIFF") && isFourcc(x + 8, "AVIX") && isFourcc(x + 12, "LIST")
                && isFourcc(x + 20, "movi"))
                m_readPos += 24;
            continue;
        } else if (isFourcc(p, "RIFF") && available >= 12 && isFourcc(p + 8, "AVIX")) {
            m_readPos += 12;
            continue;
        } else if ((isIndexChunkId(p) || isFourcc(p, "JUNK")) && fits) {
            m_readPos += 8 + int64_t(size) + (size & 1);
            continue;
        }
        resynchronise();
    }
}

bool CAviRepairCore::patch(int64_t offset, const QByteArray& bytes)
{
    if (offset < m_header.size())
        m_header.replace(int(offset), int(bytes.size()), bytes);
    return m_out->overwrite(offset, bytes);
}

bool CAviRepairCore::finish()
{
    if (m_outPos & 1) {
        m_out->appendZeros(1);
        ++m_outPos;
    }
    const int64_t movieSize = m_outPos - m_movieRef;

    QByteArray index;
    index.reserve(int(8 + m_index.size() * 16));
    index.append("idx1", 4);
    index.append(le32Bytes(uint32_t(m_index.size() * 16)));
    for (const IndexEntry& e : m_index) {
        index.append(e.id.data(), 4);
        index.append(le32Bytes(e.flags));
        index.append(le32Bytes(e.offset));
        index.append(le32Bytes(e.size));
    }
    m_out->appendCopy(index);
    m_outPos += index.size();
    const int64_t riffSize = m_outPos - 8;

    // The file ends on a multiple of 2048 bytes; a "JUNK" chunk needs 8 bytes of its own, so content that
    // ends fewer than 8 bytes before a multiple is padded to the one after.
    const int64_t rest = m_outPos % 2048;
    if (rest != 0) {
        const int64_t junkSize = rest <= 2040 ? 2040 - rest : 4088 - rest;
        QByteArray junk("JUNK", 4);
        junk.append(le32Bytes(uint32_t(junkSize)));
        junk.append(QByteArray(int(junkSize), '\0'));
        m_out->appendCopy(junk);
        m_outPos += junk.size();
    }
    if (!m_out->flush())
        return false;
    if (!m_out->active())
        return true;

    patch(4, le32Bytes(uint32_t(riffSize)));
    patch(m_movieRef - 4, le32Bytes(uint32_t(movieSize)));

    HeaderLayout layout;
    layout.parse(m_header, 12, m_movieRef - 8);
    const auto* h = reinterpret_cast<const unsigned char*>(m_header.constData());
    if (layout.avih >= 0) {
        patch(layout.avih + 12, le32Bytes(le32(h + layout.avih + 12) | kAvifHasIndex));
        patch(layout.avih + 16, le32Bytes(m_streamChunks[0]));
    }
    for (size_t s = 0; s < 2; ++s) {
        if (layout.strh[s] < 0)
            continue;
        // Audio with a fixed sample size counts its length in samples, not in chunks.
        uint32_t length = m_streamChunks[s];
        if (layout.strhType[s] == "auds" && layout.sampleSize[s] > 0)
            length = uint32_t(m_streamBytes[s] / layout.sampleSize[s]);
        patch(layout.strh[s] + 32, le32Bytes(length));
    }
    if (layout.dmlh >= 0)
        patch(layout.dmlh, le32Bytes(m_streamChunks[0]));
    // The OpenDML super indexes point at the old "ix" chunks, which are not copied: readers that trust them
    // would find nothing there, so they become filler and readers use the new idx1.
    for (int64_t at : layout.superIndexes)
        patch(at, QByteArray("JUNK", 4));
    return m_out->flush() && !m_out->failed();
}
