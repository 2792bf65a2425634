#include "repair/AviKeyFrameRule.h"

#include <algorithm>
#include <initializer_list>

namespace {

unsigned char byteAt(const unsigned char* data, uint32_t available, uint32_t size, uint32_t n)
{
    return (n < available && n < size) ? data[n] : 0;
}

uint32_t firstDword(const unsigned char* data, uint32_t available, uint32_t size)
{
    return uint32_t(byteAt(data, available, size, 0)) | uint32_t(byteAt(data, available, size, 1)) << 8
        | uint32_t(byteAt(data, available, size, 2)) << 16 | uint32_t(byteAt(data, available, size, 3)) << 24;
}

bool isOneOf(const QByteArray& fourcc, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (fourcc == name)
            return true;
    }
    return false;
}

bool genericKey(uint32_t b)
{
    return (b & 0x06000000u) == 0;
}

bool h264Key(const unsigned char* data, uint32_t available, uint32_t size)
{
    const uint32_t b = firstDword(data, available, size);
    // A three-byte start code before an odd NAL header (0x67, a sequence parameter set) also sets bit 24;
    // the start codes themselves say where the NAL header is.
    if (b == 0x01000000u)
        return (byteAt(data, available, size, 4) & 0x1F) == 7;
    if ((b & 0x00FFFFFFu) == 0x00010000u)
        return (byteAt(data, available, size, 3) & 0x1F) == 7;
    if (b & 0x01000000u)
        return (byteAt(data, available, size, 4) & 0x1F) == 7;
    if (b & 0x00010000u)
        return (byteAt(data, available, size, 3) & 0x1F) == 7;
    return false;
}

} // namespace

void AviKeyFrameRule::setCodec(const QByteArray& fourcc)
{
    m_fourcc = fourcc.left(4).toUpper();
    while (m_fourcc.size() < 4)
        m_fourcc.append(' ');
    m_svq3 = m_fourcc == "SVQ3";
    reset();
}

void AviKeyFrameRule::reset()
{
    m_svq3Layout = Svq3Layout::Unknown;
}

// An SVQ3 frame starts with a slice header: a byte h whose bits 0x9F say 1 or 2 (the two header forms) and
// whose bits 0x60 give the width in bytes of the slice length that follows (0x41, the usual first byte, is
// the first form with a two-byte length, so the slice type begins at the top of byte 3). After the length
// comes the slice type as an interleaved Exp-Golomb number: "1" is 0 (P), "001" is 1 (B), "011" is 2 (I).
int AviKeyFrameRule::svq3SliceType(const unsigned char* data, uint32_t available, uint32_t size)
{
    const unsigned char h = byteAt(data, available, size, 0);
    if (((h & 0x9F) != 1 && (h & 0x9F) != 2) || (h & 0x60) == 0)
        return -1;
    const uint32_t lengthBytes = (h >> 5) & 3;
    uint32_t bit = (1 + lengthBytes) * 8;
    const uint32_t limit = std::min(available, size) * 8;
    auto next = [&](int& out) {
        if (bit >= limit)
            return false;
        out = (data[bit / 8] >> (7 - bit % 8)) & 1;
        ++bit;
        return true;
    };
    uint32_t value = 1;
    for (int steps = 0; steps < 8; ++steps) {
        int stop = 0;
        if (!next(stop))
            return -1;
        if (stop)
            return value - 1 <= 2 ? int(value - 1) : -1;
        int payload = 0;
        if (!next(payload))
            return -1;
        value = (value << 1) | uint32_t(payload);
    }
    return -1;
}

bool AviKeyFrameRule::svq3Key(const unsigned char* data, uint32_t available, uint32_t size, uint32_t streamCount) const
{
    // A stream always opens with an intra frame, whatever its first bytes look like.
    if (streamCount == 0)
        return true;
    if (m_svq3Layout == Svq3Layout::Opaque)
        return genericKey(firstDword(data, available, size));
    return svq3SliceType(data, available, size) == 2;
}

bool AviKeyFrameRule::isKeyFrame(const unsigned char* data, uint32_t available, uint32_t size,
    uint32_t streamCount) const
{
    const uint32_t b = firstDword(data, available, size);
    const QByteArray& f = m_fourcc;
    if (f == "MJPG")
        return true;
    if (isOneOf(f, {"DIV3", "MP43", "MP42"}))
        return (b & 0x7001u) == 0x7001u && (b & 0x80C0u) == 0;
    if (isOneOf(f, {"DIVX", "DX50", "XVID"}))
        return (b & 0x06000000u) == 0;
    if (f == "SVQ1")
        return (b & 0x01000000u) == 0;
    if (m_svq3)
        return svq3Key(data, available, size, streamCount);
    if (isOneOf(f, {"VP30", "VP31", "VP32", "VP40", "VP50", "VP60", "VP61", "VP62", "WMV2"}))
        return (b & 0x80u) == 0;
    if (isOneOf(f, {"H264", "AVC1"}))
        return h264Key(data, available, size);
    if (f == "WMV1")
        return (b & 0x40u) == 0;
    if (f == "WMV3")
        return (b & 0x20u) == 0;
    return genericKey(b);
}

uint32_t AviKeyFrameRule::indexFlags(const unsigned char* data, uint32_t available, uint32_t size,
    uint32_t streamCount) const
{
    if (isOneOf(m_fourcc, {"H264", "AVC1"})) {
        // Every later chunk that opens with a sequence parameter set is a key frame too; marking only the
        // first would leave players unable to seek.
        if (streamCount == 0 || h264Key(data, available, size))
            return kKeyFrameFlag;
        const uint32_t b = firstDword(data, available, size);
        if (((b & 0x01000000u) && byteAt(data, available, size, 4) < 16)
            || ((b & 0x00010000u) && byteAt(data, available, size, 3) < 16))
            return kDisposableFlag;
        return 0;
    }
    return isKeyFrame(data, available, size, streamCount) ? kKeyFrameFlag : 0;
}

void AviKeyFrameRule::noteTaken(const unsigned char* data, uint32_t available, uint32_t size)
{
    if (!m_svq3 || m_svq3Layout != Svq3Layout::Unknown)
        return;
    m_svq3Layout = svq3SliceType(data, available, size) >= 0 ? Svq3Layout::SliceHeaders : Svq3Layout::Opaque;
}
