#pragma once

#include "repair/AviKeyFrameRule.h"
#include "repair/AviMovieWalk.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AviSourceReader;
class AviTargetWriter;
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

    static constexpr uint32_t kMaxChunkSize = AviMovieWalk::kMaxChunkSize;
    static constexpr int kMaxIndexEntries = AviMovieWalk::kMaxIndexEntries;
    using IndexEntry = AviMovieWalk::IndexEntry;

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
    int indexEntryCount() const { return int(indexEntries().size()); }
    const std::vector<IndexEntry>& indexEntries() const;
    uint32_t streamChunkCount(int stream) const;
    int endMarkerCount() const { return m_walk ? m_walk->endMarkers() : 0; }
    QByteArray codec() const { return m_keyRule.codec(); }
    bool indexFull() const { return m_walk && m_walk->indexFull(); }
    // Source bytes that could not be read and were stepped over like damage.
    int64_t unreadableBytes() const { return m_unreadableBytes; }

private:
    void reset();
    bool fail(const QString& message);
    void pumpIfDue();
    bool repairOpened(QIODevice* source);
    bool identify(QIODevice* source);
    bool findMovieList();
    bool copyHeader();
    bool finish();
    bool patch(int64_t offset, const QByteArray& bytes);

    Pump m_pump;
    TargetWrapper m_targetWrapper;
    std::unique_ptr<AviSourceReader> m_in;
    std::unique_ptr<AviTargetWriter> m_out;
    std::unique_ptr<AviMovieWalk> m_walk;
    QString m_error;

    AviKeyFrameRule m_keyRule;
    QByteArray m_header; // the bytes before the movie data, as read
    int64_t m_fileSize = 0;
    int64_t m_movieRef = 0; // position of the "movi" list type, the reference of index offsets
    bool m_cutOutDamage = true;
    bool m_restartAtKeyFrame = false;
    int64_t m_lastPumpMs = 0;
    int64_t m_unreadableBytes = 0;
};
