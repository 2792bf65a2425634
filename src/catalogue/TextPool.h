#pragma once

#include <QString>

#include <string_view>

// Texts written one after another into shared buffers: each text handed out is a QString over its part of a
// buffer, counted like any other holder of it, so that tens of thousands of short names cost a few
// allocations (and frees) instead of one each. The texts behave as any QString (a change copies first); a
// buffer lives while the pool or any of its texts does.
class TextPool
{
public:
    // Latin-1 bytes (the camera's ASCII names) as text.
    QString addLatin1(std::string_view bytes);
    // The part [from, from + length) of a text as a text sharing its buffer (counted like any other holder of
    // it), so that cutting it out allocates nothing; a copy where the text has no buffer of its own.
    static QString part(const QString& text, qsizetype from, qsizetype length);

private:
    char16_t* reserve(qsizetype units);
    QString handOut(char16_t* begin, qsizetype units);

    QString m_buffer;
    qsizetype m_used = 0;
};
