#pragma once

#include "repair/AviKeyFrameRule.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class AviSourceReader;
class AviTargetWriter;

// Walks the stream chunks of the movie list of a damaged AVI file: takes each chunk that parses (queuing its
// copy to the target and an index entry), skips or copies through what does not, and resumes at the next
// plausible chunk.
class AviMovieWalk
{
public:
    static constexpr uint32_t kMaxChunkSize = 1u << 20;
    static constexpr int kMaxIndexEntries = 20 * 1024 * 1024 / 16 - 1;

    struct IndexEntry
    {
        std::array<char, 4> id;
        uint32_t flags;
        uint32_t offset;
        uint32_t size;
    };

    struct Options
    {
        bool cutOutDamage = true;
        bool restartAtKeyFrame = false;
    };

    // `movieRef` is the position of the "movi" list type (the reference of index offsets); the walk starts
    // right after it, where the source and the target are at the same position.
    AviMovieWalk(AviSourceReader& in, AviTargetWriter& out, AviKeyFrameRule& keyRule, std::function<void()> pump,
        int64_t fileSize, int64_t movieRef, Options options);

    void run();

    const std::vector<IndexEntry>& index() const { return m_index; }
    // Where the chunk of index entry i lies in the source.
    int64_t sourcePosition(size_t i) const { return m_sourcePositions[i]; }
    uint32_t streamChunks(size_t stream) const { return m_streamChunks[stream]; }
    uint64_t streamBytes(size_t stream) const { return m_streamBytes[stream]; }
    int endMarkers() const { return m_endMarkers; }
    bool indexFull() const { return m_indexFull; }
    int64_t outPos() const { return m_outPos; }

private:
    bool takeStreamChunk(int64_t pos, uint32_t size);
    int64_t firstStreamChunk(int64_t from, int64_t to);
    void resynchronise();
    void realign();
    int64_t searchFrom(int64_t from);
    bool acceptableAt(int64_t pos);
    bool structuralAt(int64_t pos);
    bool streamCandidateAt(int64_t pos, bool keyFrameOnly);
    void copyThrough(int64_t from, int64_t to);
    void pump()
    {
        if (m_pump)
            m_pump();
    }

    AviSourceReader& m_in;
    AviTargetWriter& m_out;
    AviKeyFrameRule& m_keyRule;
    std::function<void()> m_pump;
    const int64_t m_fileSize;
    const int64_t m_movieRef;
    const Options m_options;

    std::vector<IndexEntry> m_index;
    std::vector<int64_t> m_sourcePositions;
    std::array<uint32_t, 100> m_streamChunks {};
    std::array<uint64_t, 100> m_streamBytes {};
    int64_t m_readPos = 0;
    int64_t m_outPos = 0;
    int m_endMarkers = 0;
    bool m_needKeyFrame = false;
    bool m_afterOddChunk = false;
    bool m_indexFull = false;
};
