#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

// Builds AVI files from bytes, so each test shows exactly what is damaged, and checks the structure of a
// repaired file.
namespace avitest {

QByteArray le32(uint32_t v);
uint32_t readLe32(const QByteArray& b, qint64 at);

// id + size + data + pad byte when odd.
QByteArray chunk(const char* id, const QByteArray& data);
// Chunk data that can never be mistaken for a chunk id (bytes above 0x7F), first bytes as given.
QByteArray payload(int size, const QByteArray& head = {}, int seed = 0);

struct Layout
{
    QByteArray codec = "MJPG";
    bool audio = false;       // a second stream, PCM audio with a 2-byte sample size
    bool odml = false;        // an "odml" list with a "dmlh"
    bool vprp = false;        // a "vprp" chunk in the video stream list
    bool superIndex = false;  // an "indx" chunk in the video stream list
    uint32_t declaredFrames = 0;
};

// The header up to and including "LIST" size "movi"; RIFF and movie sizes are left 0.
QByteArray header(const Layout& layout);
// The offset of the "movi" list type in a file that starts with header(layout).
qint64 movieRef(const QByteArray& file);

// A complete file: header, the movie chunks, an idx1 over them when `withIndex`, and RIFF and movie sizes
// filled in when `withSizes` (a camera that lost power leaves both zero and writes no index).
QByteArray file(const Layout& layout, const QList<QByteArray>& movieChunks, bool withIndex = true,
    bool withSizes = true);

struct Entry
{
    QByteArray id;
    uint32_t flags;
    uint32_t offset;
    uint32_t size;
};

struct Structure
{
    bool ok = false;
    QString problem;
    qint64 movieRef = 0;
    uint32_t riffSize = 0;
    uint32_t movieSize = 0;
    std::vector<Entry> entries;
    uint32_t avihFrames = 0;
    uint32_t avihFlags = 0;
    std::vector<uint32_t> strhLength;
    int superIndexes = 0;
    // the data of every indexed chunk, in index order
    QList<QByteArray> chunkData;
    int count(const char* id) const;
};

// Checks a repaired file: idx1 right after the movie list, every entry pointing at an even offset where a
// chunk with its id and size lies, RIFF size, file length a multiple of 2048, and reads the header counts.
// `keepChunkData` off leaves chunkData empty (for files of a GiB).
Structure inspect(const QByteArray& file, bool keepChunkData = true);

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace avitest
