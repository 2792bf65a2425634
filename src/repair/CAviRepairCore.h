#pragma once

#include "repair/AviKeyFrameRule.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

// Rebuilds a playable AVI file from a damaged one: copies the header, walks the stream chunks of the movie
// list, skips (or copies through) what does not parse and resumes at the next plausible chunk, writes a fresh
// idx1 index and corrects the sizes and frame counts in the headers.
//
// The source is only ever read. The result is written to a temporary file beside the target and renamed to
// the target only when every write succeeded, so a failed repair leaves nothing under the target's name.
// Between steps the engine calls the pump given to it (the viewer passes one that processes its events).
class CAviRepairCore
{
public:
    using Pump = std::function<void()>;
    // Lets tests put a failing device between the engine and the temporary target file.
    using TargetWrapper = std::function<std::unique_ptr<QIODevice>(QIODevice* file)>;

    static constexpr uint32_t kMaxChunkSize = 1u << 20;
    static constexpr int kMaxIndexEntries = 20 * 1024 * 1024 / 16 - 1;

    struct IndexEntry
    {
        std::array<char, 4> id;
        uint32_t flags;
        uint32_t offset;
        uint32_t size;
    };

    explicit CAviRepairCore(Pump pump = {});
    ~CAviRepairCore();
    CAviRepairCore(const CAviRepairCore&) = delete;
    CAviRepairCore& operator=(const CAviRepairCore&) = delete;

    // `separateTarget` off asks for a repair in place; that is refused (unless `checkOnly`), because it could
    // destroy the only copy of a recording. `checkOnly` parses and indexes without writing anything.
    bool RepairFile(const QString& source, const QString& target, bool separateTarget, bool cutOutDamage,
        bool checkOnly, bool restartAtKeyFrame);

    // The same repair between open devices: `source` readable and seekable, `target` writable and seekable
    // and empty, or null to check only.
    bool RepairDevice(QIODevice* source, QIODevice* target, bool cutOutDamage, bool restartAtKeyFrame);

    void setTargetWrapper(TargetWrapper wrapper) { m_targetWrapper = std::move(wrapper); }

    // Results of the last repair.
    QString errorString() const { return m_error; }
    int indexEntryCount() const { return int(m_index.size()); }
    const std::vector<IndexEntry>& indexEntries() const { return m_index; }
    uint32_t streamChunkCount(int stream) const;
    int endMarkerCount() const { return m_endMarkers; }
    QByteArray codec() const { return m_keyRule.codec(); }
    bool indexFull() const { return m_indexFull; }

private:
    struct HeaderLayout;
    class SourceReader;
    class TargetWriter;

    void reset();
    bool fail(const QString& message);
    void pumpIfDue();
    bool repairOpened(QIODevice* source);
    bool identify(QIODevice* source);
    bool findMovieList();
    bool copyHeader();
    void walk();
    bool takeStreamChunk(int64_t pos, uint32_t size);
    int64_t firstStreamChunk(int64_t from, int64_t to);
    void resynchronise();
    void realign();
    int64_t searchFrom(int64_t from);
    bool acceptableAt(int64_t pos);
    bool structuralAt(int64_t pos);
    bool streamCandidateAt(int64_t pos, bool keyFrameOnly);
    bool finish();
    bool copyThrough(int64_t from, int64_t to);
    bool patch(int64_t offset, const QByteArray& bytes);

    Pump m_pump;
    TargetWrapper m_targetWrapper;
    std::unique_ptr<SourceReader> m_in;
    std::unique_ptr<TargetWriter> m_out;
    QString m_error;

    AviKeyFrameRule m_keyRule;
    std::vector<IndexEntry> m_index;
    std::array<uint32_t, 100> m_streamChunks {};
    std::array<uint64_t, 100> m_streamBytes {};
    QByteArray m_header; // the bytes before the movie data, as read
    int64_t m_fileSize = 0;
    int64_t m_readPos = 0;
    int64_t m_outPos = 0;
    int64_t m_movieRef = 0; // position of the "movi" list type, the reference of index offsets
    int m_endMarkers = 0;
    bool m_cutOutDamage = true;
    bool m_restartAtKeyFrame = false;
    bool m_needKeyFrame = false;
    bool m_afterOddChunk = false;
    bool m_indexFull = false;
    int64_t m_lastPumpMs = 0;
};
