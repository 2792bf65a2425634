#pragma once

#include <QString>

#include <cstdint>

// Reads a few bytes at chosen offsets of a file with one system call each and no read-ahead: the cheapest
// way to look at one field in each of thousands of files.
class FileRangeReader
{
public:
    explicit FileRangeReader(const QString& path);
    ~FileRangeReader();
    FileRangeReader(const FileRangeReader&) = delete;
    FileRangeReader& operator=(const FileRangeReader&) = delete;

    bool isOpen() const { return m_handle >= 0; }
    // True only when all `count` bytes at `offset` were read.
    bool readAt(int64_t offset, void* out, int64_t count);
    // Up to `count` bytes at `offset`, fewer at the end of the file; -1 on failure.
    int64_t readUpTo(int64_t offset, void* out, int64_t count);

private:
    int m_handle = -1;
};
