#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

// Where the header pieces that the repair corrects lie (offsets from the start of the file), read from the
// header bytes before the movie list.
struct AviHeaderLayout
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

    // Reads the chunks of `header` between `begin` and `end`.
    void parse(const QByteArray& header, int64_t begin, int64_t end) { parseList(header, begin, end, -1); }

private:
    void parseList(const QByteArray& header, int64_t begin, int64_t end, int stream);
};
