#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>

// Little helpers over the raw bytes of RIFF chunk headers, shared by the parts of the repair engine.
namespace avibytes {

inline uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline QByteArray le32Bytes(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

inline bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Two decimal digits followed by "dc", "db" or "wb".
inline bool isStreamId(const unsigned char* p)
{
    return isDigit(p[0]) && isDigit(p[1])
        && ((p[2] == 'd' && (p[3] == 'c' || p[3] == 'b')) || (p[2] == 'w' && p[3] == 'b'));
}

inline bool isFourcc(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

inline bool isIndexChunkId(const unsigned char* p)
{
    return p[0] == 'i' && p[1] == 'x' && isDigit(p[2]) && isDigit(p[3]);
}

inline int streamNumber(const unsigned char* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

} // namespace avibytes
