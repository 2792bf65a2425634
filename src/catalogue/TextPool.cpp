#include "catalogue/TextPool.h"

#include <algorithm>

namespace {

constexpr qsizetype kBufferUnits = 32 * 1024;

} // namespace

char16_t* TextPool::reserve(qsizetype units)
{
    if (m_buffer.isNull() || m_used + units > m_buffer.size()) {
        // The earlier buffer stays with the texts already handed out.
        m_buffer = QString(std::max(units, kBufferUnits), Qt::Uninitialized);
        m_used = 0;
    }
    // Written through the raw pointer: the texts handed out hold the buffer too, and asking QString for
    // writable data would copy it. The part written here belongs to no text yet.
    char16_t* begin = m_buffer.data_ptr().data() + m_used;
    m_used += units;
    return begin;
}

QString TextPool::handOut(char16_t* begin, qsizetype units)
{
    auto* header = m_buffer.data_ptr().d_ptr();
    header->ref(); // the text's own hold on the buffer, given up when the text goes
    return QString(QString::DataPointer(header, begin, units));
}

QString TextPool::addLatin1(std::string_view bytes)
{
    const auto units = static_cast<qsizetype>(bytes.size());
    if (units == 0)
        return QString();
    char16_t* begin = reserve(units);
    std::transform(bytes.begin(), bytes.end(), begin, [](char c) { return char16_t(static_cast<unsigned char>(c)); });
    return handOut(begin, units);
}

QString TextPool::part(const QString& text, qsizetype from, qsizetype length)
{
    QString::DataPointer& buffer = const_cast<QString&>(text).data_ptr();
    auto* header = buffer.d_ptr();
    if (!header)
        return text.mid(from, length);
    header->ref(); // the part's own hold on the buffer, given up when the part goes
    return QString(QString::DataPointer(header, buffer.data() + from, length));
}
