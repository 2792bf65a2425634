#include "repair/AviHeaderLayout.h"

#include "repair/AviBytes.h"

#include <algorithm>
#include <vector>

using namespace avibytes;

void AviHeaderLayout::parseList(const QByteArray& header, int64_t begin, int64_t end, int stream)
{
    // Nested lists are followed with a stack of their own, never by recursion: a crafted header of a few MiB
    // of nested lists must not exhaust the thread's stack. Lists nested deeper than any real header are
    // passed over by size; every step moves forward by at least 8 bytes, so the walk ends.
    constexpr size_t kMaxDepth = 16;
    struct Level
    {
        int64_t end;
        int stream;
        int64_t resume; // where the enclosing list goes on
    };
    std::vector<Level> levels;
    const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
    end = std::min<int64_t>(end, header.size());
    int64_t pos = begin;
    for (;;) {
        if (pos + 8 > end) {
            if (levels.empty())
                return;
            pos = levels.back().resume;
            end = levels.back().end;
            stream = levels.back().stream;
            levels.pop_back();
            continue;
        }
        const unsigned char* id = h + pos;
        const uint32_t size = le32(h + pos + 4);
        const int64_t body = pos + 8;
        const int64_t bodyEnd = body + int64_t(size);
        if (isFourcc(id, "LIST")) {
            if (body + 4 > end || isFourcc(h + body, "movi")) {
                pos = end; // the rest of this list is not header
                continue;
            }
            if (levels.size() < kMaxDepth) {
                levels.push_back(Level { end, stream, bodyEnd + (size & 1) });
                if (isFourcc(h + body, "strl"))
                    stream = streamLists++;
                end = std::min(bodyEnd, end);
                pos = body + 4;
                continue;
            }
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
