#pragma once

#include <QByteArray>
#include <cstdint>

// Decides from the first bytes of a video chunk whether it starts a key frame, per codec fourcc.
// The repair engine uses it twice: for the key-frame flag of each index entry, and to choose where the walk
// may resume after damage. Only the SVQ3 rule keeps state; it changes only through noteTaken(), so testing
// a candidate during a search never disturbs it.
class AviKeyFrameRule
{
public:
    // idx1 flags
    static constexpr uint32_t kKeyFrameFlag = 0x10;
    // Given to H.264 chunks that start with a non-reference NAL unit; readers ignore it, cameras wrote it.
    static constexpr uint32_t kDisposableFlag = 0x4000;

    AviKeyFrameRule() = default;
    explicit AviKeyFrameRule(const QByteArray& fourcc) { setCodec(fourcc); }

    // The fourcc is upper-cased; shorter texts are padded with spaces.
    void setCodec(const QByteArray& fourcc);
    QByteArray codec() const { return m_fourcc; }
    void reset();

    // `data` holds the first `available` bytes of a chunk whose declared data size is `size`; bytes past
    // either bound read as zero. `streamCount` is the number of chunks of this stream taken so far.
    bool isKeyFrame(const unsigned char* data, uint32_t available, uint32_t size, uint32_t streamCount) const;

    // idx1 flags of a "dc" chunk.
    uint32_t indexFlags(const unsigned char* data, uint32_t available, uint32_t size, uint32_t streamCount) const;

    // Records a chunk of the video stream that was taken into the output.
    void noteTaken(const unsigned char* data, uint32_t available, uint32_t size);

    // SVQ3 slice-header inspection, exposed for tests: the slice type of a frame (0 P, 1 B, 2 I), or -1 when
    // the bytes do not start with a valid slice header.
    static int svq3SliceType(const unsigned char* data, uint32_t available, uint32_t size);

private:
    enum class Svq3Layout { Unknown, SliceHeaders, Opaque };

    bool svq3Key(const unsigned char* data, uint32_t available, uint32_t size, uint32_t streamCount) const;

    QByteArray m_fourcc = QByteArray(4, ' ');
    bool m_svq3 = false;
    // Decided by the first frame taken: either the stream's frames carry SVQ3 slice headers, or they do not
    // (the generic rule applies then).
    Svq3Layout m_svq3Layout = Svq3Layout::Unknown;
};
