#include "catalogue/LowerCaseOrder.h"

#include <algorithm>
#include <array>

namespace {

constexpr size_t kPackedWords = 4; // 4 × 4 code units: a whole base name of the camera's

struct Key
{
    std::array<uint64_t, kPackedWords> packed {};
    uint32_t row = 0;
};

// Code units 0..15, most significant first, so the words compare as the texts do. A text shorter than
// sixteen units is padded with zero units; where that ties with a real zero unit the full comparison
// decides (it also decides every other tie).
std::array<uint64_t, kPackedWords> pack(const QString& lowered)
{
    std::array<uint64_t, kPackedWords> words {};
    const qsizetype length = std::min<qsizetype>(lowered.size(), static_cast<qsizetype>(kPackedWords * 4));
    const QChar* units = lowered.constData();
    for (qsizetype i = 0; i < length; ++i)
        words[static_cast<size_t>(i / 4)] |= uint64_t(units[i].unicode()) << (16 * (3 - i % 4));
    return words;
}

} // namespace

std::vector<uint32_t> LowerCaseOrder(size_t count, const std::function<QString(size_t)>& text, bool ascending)
{
    std::vector<QString> lowered(count);
    std::vector<Key> keys(count);
    for (size_t i = 0; i < count; ++i) {
        lowered[i] = text(i).toLower();
        keys[i].packed = pack(lowered[i]);
        keys[i].row = static_cast<uint32_t>(i);
    }
    // -1, 0, 1 as the lower-cased texts compare.
    const auto compare = [&lowered](const Key& a, const Key& b) {
        if (a.packed != b.packed)
            return a.packed < b.packed ? -1 : 1;
        return lowered[a.row].compare(lowered[b.row], Qt::CaseSensitive);
    };
    // Equal texts stay in row order in either direction.
    std::sort(keys.begin(), keys.end(), [&compare, ascending](const Key& a, const Key& b) {
        const int order = compare(a, b);
        if (order != 0)
            return ascending ? order < 0 : order > 0;
        return a.row < b.row;
    });
    std::vector<uint32_t> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[i] = keys[i].row;
    return rows;
}
