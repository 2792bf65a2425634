#include "AviTestSupport.h"

#include <QFile>

namespace avitest {

QByteArray le32(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

uint32_t readLe32(const QByteArray& b, qint64 at)
{
    if (at < 0 || at + 4 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

QByteArray chunk(const char* id, const QByteArray& data)
{
    QByteArray c(id, 4);
    c += le32(uint32_t(data.size()));
    c += data;
    if (data.size() & 1)
        c += '\0';
    return c;
}

QByteArray payload(int size, const QByteArray& head, int seed)
{
    QByteArray d(size, '\0');
    for (int i = 0; i < size; ++i)
        d[i] = char(0x80 | ((i * 7 + seed * 13) & 0x7F));
    for (int i = 0; i < head.size() && i < size; ++i)
        d[i] = head[i];
    return d;
}

namespace {

QByteArray list(const char* type, const QByteArray& body)
{
    QByteArray l("LIST", 4);
    l += le32(uint32_t(body.size() + 4));
    l += QByteArray(type, 4);
    l += body;
    return l;
}

QByteArray strh(const char* type, const QByteArray& handler, uint32_t scale, uint32_t rate, uint32_t sampleSize)
{
    QByteArray s(56, '\0');
    s.replace(0, 4, QByteArray(type, 4));
    s.replace(4, 4, handler.leftJustified(4, '\0', true));
    s.replace(20, 4, le32(scale));
    s.replace(24, 4, le32(rate));
    s.replace(32, 4, le32(12345)); // a wrong length, to be corrected
    s.replace(44, 4, le32(sampleSize));
    return s;
}

} // namespace

QByteArray header(const Layout& layout)
{
    QByteArray avih(56, '\0');
    avih.replace(0, 4, le32(100000));
    avih.replace(16, 4, le32(layout.declaredFrames));
    avih.replace(24, 4, le32(layout.audio ? 2 : 1));
    avih.replace(32, 4, le32(160));
    avih.replace(36, 4, le32(120));

    QByteArray bih(40, '\0');
    bih.replace(0, 4, le32(40));
    bih.replace(4, 4, le32(160));
    bih.replace(8, 4, le32(120));
    bih[12] = 1;
    bih[14] = 24;
    bih.replace(16, 4, layout.codec.leftJustified(4, ' ', true));

    QByteArray videoList = chunk("strh", strh("vids", layout.codec, 1, 10, 0)) + chunk("strf", bih);
    if (layout.vprp)
        videoList += chunk("vprp", QByteArray(68, '\x01'));
    if (layout.superIndex)
        videoList += chunk("indx", QByteArray(24 + 16, '\0'));
    QByteArray hdrl = chunk("avih", avih) + list("strl", videoList);
    if (layout.audio) {
        QByteArray wave(18, '\0');
        wave[0] = 1; // PCM
        wave[2] = 1;
        wave.replace(4, 4, le32(8000));
        wave.replace(8, 4, le32(16000));
        wave[12] = 2;
        wave[14] = 16;
        hdrl += list("strl", chunk("strh", strh("auds", {}, 2, 16000, 2)) + chunk("strf", wave));
    }
    if (layout.odml)
        hdrl += list("odml", chunk("dmlh", QByteArray(248, '\0')));

    QByteArray h("RIFF", 4);
    h += le32(0);
    h += "AVI ";
    h += list("hdrl", hdrl);
    h += "LIST";
    h += le32(0);
    h += "movi";
    return h;
}

qint64 movieRef(const QByteArray& file)
{
    qint64 p = 16;
    while (p + 8 <= file.size()) {
        if (file.mid(p + 4, 4) == "movi")
            return p + 4;
        const uint32_t size = readLe32(file, p);
        p += 8 + qint64(size) + (size & 1);
    }
    return -1;
}

QByteArray file(const Layout& layout, const QList<QByteArray>& movieChunks, bool withIndex, bool withSizes)
{
    QByteArray f = header(layout);
    const qint64 ref = f.size() - 4;
    QByteArray index;
    for (const QByteArray& c : movieChunks) {
        index += c.left(4) + le32(0x10) + le32(uint32_t(f.size() - ref)) + c.mid(4, 4);
        f += c;
    }
    if (withSizes)
        f.replace(ref - 4, 4, le32(uint32_t(f.size() - ref)));
    if (withIndex)
        f += chunk("idx1", index);
    if (withSizes)
        f.replace(4, 4, le32(uint32_t(f.size() - 8)));
    return f;
}

int Structure::count(const char* id) const
{
    int n = 0;
    for (const Entry& e : entries)
        n += e.id == id ? 1 : 0;
    return n;
}

Structure inspect(const QByteArray& f, bool keepChunkData)
{
    Structure s;
    auto bad = [&s](const QString& why) {
        s.problem = why;
        s.ok = false;
        return s;
    };
    if (f.size() < 24 || !f.startsWith("RIFF") || f.mid(8, 4) != "AVI ")
        return bad(QStringLiteral("no RIFF AVI header"));
    if (f.size() % 2048 != 0)
        return bad(QStringLiteral("length %1 is not a multiple of 2048").arg(f.size()));
    s.movieRef = movieRef(f);
    if (s.movieRef < 0)
        return bad(QStringLiteral("no movie list"));
    s.riffSize = readLe32(f, 4);
    s.movieSize = readLe32(f, s.movieRef - 4);
    const qint64 idx = s.movieRef + s.movieSize;
    if (f.mid(idx, 4) != "idx1")
        return bad(QStringLiteral("no idx1 after the movie list"));
    const uint32_t indexSize = readLe32(f, idx + 4);
    if (indexSize % 16 != 0 || idx + 8 + indexSize > f.size())
        return bad(QStringLiteral("bad idx1 size"));
    if (s.riffSize != idx + 8 + indexSize - 8)
        return bad(QStringLiteral("RIFF size %1 does not end with the index").arg(s.riffSize));
    const qint64 rest = f.size() - (idx + 8 + indexSize);
    if (rest != 0 && (f.mid(idx + 8 + indexSize, 4) != "JUNK" || readLe32(f, idx + 12 + indexSize) + 8 != rest))
        return bad(QStringLiteral("the tail is not one JUNK chunk"));
    uint32_t previous = 0;
    for (uint32_t i = 0; i < indexSize / 16; ++i) {
        const qint64 at = idx + 8 + 16 * qint64(i);
        Entry e {f.mid(at, 4), readLe32(f, at + 4), readLe32(f, at + 8), readLe32(f, at + 12)};
        const qint64 pos = s.movieRef + e.offset;
        if (e.offset & 1)
            return bad(QStringLiteral("entry %1 at an odd offset").arg(i));
        if (i > 0 && e.offset <= previous)
            return bad(QStringLiteral("entry %1 out of order").arg(i));
        if (f.mid(pos, 4) != e.id || readLe32(f, pos + 4) != e.size || pos + 8 + e.size > idx)
            return bad(QStringLiteral("entry %1 does not point at its chunk").arg(i));
        previous = e.offset;
        if (keepChunkData)
            s.chunkData << f.mid(pos + 8, e.size);
        s.entries.push_back(e);
    }
    // header counts
    qint64 p = 12;
    const qint64 end = s.movieRef - 8;
    std::vector<qint64> stack;
    while (p + 8 <= end) {
        const QByteArray id = f.mid(p, 4);
        const uint32_t size = readLe32(f, p + 4);
        if (id == "LIST") {
            p += 12;
            continue;
        }
        if (id == "avih") {
            s.avihFlags = readLe32(f, p + 8 + 12);
            s.avihFrames = readLe32(f, p + 8 + 16);
        } else if (id == "strh") {
            s.strhLength.push_back(readLe32(f, p + 8 + 32));
        } else if (id == "indx") {
            ++s.superIndexes;
        }
        p += 8 + qint64(size) + (size & 1); // 64-bit: a size near 4 GiB must not wrap to a step of 0
    }
    s.ok = true;
    return s;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace avitest
