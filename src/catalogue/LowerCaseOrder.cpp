#include "catalogue/LowerCaseOrder.h"

#include <algorithm>
#include <array>

namespace {

constexpr qsizetype kPackedUnits = 16; // a whole base name of the camera's
using Packed = std::array<uint64_t, kPackedUnits / 4>;

struct Key
{
    Packed packed {};
    uint32_t row = 0;
};

// Code units 0..15 of a lower-cased text, most significant first, so the words compare as the texts do.
// A text shorter than sixteen units is padded with zero units; where that ties with a real zero unit the
// full comparison decides (it also decides every other tie).
Packed packLowered(QStringView lowered)
{
    Packed words {};
    const qsizetype length = std::min(lowered.size(), kPackedUnits);
    for (qsizetype i = 0; i < length; ++i)
        words[static_cast<size_t>(i / 4)] |= uint64_t(lowered[i].unicode()) << (16 * (3 - i % 4));
    return words;
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// ASCII texts (every name the camera writes) are lower-cased unit by unit while packing; any other text
// takes the full lower-casing rules, which may change its length.
Packed pack(const QString& text)
{
    if (!isAscii(QStringView(text).left(kPackedUnits)))
        return packLowered(text.toLower());
    Packed words {};
    const qsizetype length = std::min(text.size(), kPackedUnits);
    for (qsizetype i = 0; i < length; ++i) {
        char16_t unit = text[i].unicode();
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        words[static_cast<size_t>(i / 4)] |= uint64_t(unit) << (16 * (3 - i % 4));
    }
    return words;
}

} // namespace

std::vector<uint32_t> LowerCaseOrder(size_t count, const std::function<QString(size_t)>& text, bool ascending)
{
    std::vector<Key> keys(count);
    for (size_t i = 0; i < count; ++i) {
        keys[i].packed = pack(text(i));
        keys[i].row = static_cast<uint32_t>(i);
    }
    // -1, 0, 1 as the lower-cased texts compare. Ties of the packed part are rare (equal names, or names
    // longer than it): those texts are lower-cased when they meet.
    const auto compare = [&text](const Key& a, const Key& b) {
        for (size_t i = 0; i < a.packed.size(); ++i) {
            if (a.packed[i] != b.packed[i])
                return a.packed[i] < b.packed[i] ? -1 : 1;
        }
        return text(a.row).toLower().compare(text(b.row).toLower(), Qt::CaseSensitive);
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
