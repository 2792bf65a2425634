#include "catalogue/LowerCaseOrder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
Packed pack(QStringView text)
{
    if (!isAscii(text.left(kPackedUnits)))
        return packLowered(text.toString().toLower());
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

// The camera's names are ASCII: then a unit fits a byte, and the first sixteen bytes of every text, most
// significant first, compare as the texts' first sixteen units do. Such keys are put in order by bytes, from
// the last to the first, each pass stable, so equal keys keep their row order without a comparison.
struct ByteKey
{
    std::array<uint8_t, kPackedUnits> bytes {};
    uint32_t row = 0;
};

// Fills the byte key of an ASCII text lowered and, for the descending order, inverted (a shorter text's
// padding then sorts after every unit, as a prefix does in that order). Returns false for a text with a unit
// beyond ASCII among its first sixteen. full tells that the key alone may not decide a tie: a text longer
// than the key or holding a zero unit (which looks like padding).
bool packBytes(QStringView text, bool ascending, ByteKey& key, bool& full)
{
    const qsizetype length = std::min(text.size(), kPackedUnits);
    full = text.size() > kPackedUnits;
    const uint8_t invert = ascending ? 0 : 0xff;
#if defined(__SSE2__)
    // Every row's key is packed on each fill: the sixteen units at once (a camera's base name has fifteen or
    // sixteen). The padding is zero units, which become the inverted zero byte like the loop below writes.
    alignas(16) char16_t units[kPackedUnits] = {};
    if (length > 0)
        std::memcpy(units, text.utf16(), static_cast<size_t>(length) * sizeof(char16_t));
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(units));
    const __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(units + 8));
    const __m128i beyondAscii = _mm_and_si128(_mm_or_si128(low, high), _mm_set1_epi16(static_cast<short>(0xff80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyondAscii, _mm_setzero_si128())) != 0xffff)
        return false;
    __m128i bytes = _mm_packus_epi16(low, high);
    const unsigned zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
    full = full || (zeros & ((1u << length) - 1)) != 0;
    const __m128i upper = _mm_and_si128(
        _mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)), _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
    bytes = _mm_add_epi8(bytes, _mm_and_si128(upper, _mm_set1_epi8('a' - 'A')));
    bytes = _mm_xor_si128(bytes, _mm_set1_epi8(static_cast<char>(invert)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(key.bytes.data()), bytes);
    return true;
#else
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80)
            return false;
        full = full || unit == 0;
        const char16_t lowered = unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
        key.bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(lowered) ^ invert;
    }
    for (qsizetype i = length; i < kPackedUnits; ++i)
        key.bytes[static_cast<size_t>(i)] = invert;
    return true;
#endif
}

// Least significant byte first, a counting pass per byte position; positions where every key holds the same
// byte (the century of every date, the underscore) are skipped. The counts of all positions are taken in one
// pass over the keys: the order of the keys does not change them.
void sortByBytes(std::vector<ByteKey>& keys)
{
    std::vector<std::array<uint32_t, 256>> counts(kPackedUnits);
    for (const ByteKey& key : keys) {
        for (size_t position = 0; position < kPackedUnits; ++position)
            ++counts[position][key.bytes[position]];
    }
    std::vector<ByteKey> other(keys.size());
    for (size_t position = kPackedUnits; position-- > 0;) {
        std::array<uint32_t, 256>& start = counts[position];
        if (std::find(start.begin(), start.end(), keys.size()) != start.end())
            continue;
        uint32_t sum = 0;
        for (uint32_t& count : start) {
            const uint32_t n = count;
            count = sum;
            sum += n;
        }
        for (const ByteKey& key : keys)
            other[start[key.bytes[position]]++] = key;
        keys.swap(other);
    }
}

// A text lower-cased for the full comparison: from a text the accessor handed out, or from a view of one.
QString lowered(const QString& text)
{
    return text.toLower();
}

QString lowered(QStringView text)
{
    return text.toString().toLower();
}

// The byte-key order, or nothing when a text is beyond ASCII in its first sixteen units.
template <typename TextOf>
std::optional<std::vector<uint32_t>> asciiOrder(size_t count, const TextOf& text, bool ascending)
{
    std::vector<ByteKey> keys(count);
    std::vector<bool> full(count, false);
    bool anyFull = false;
    for (size_t i = 0; i < count; ++i) {
        bool needsFull = false;
        if (!packBytes(text(i), ascending, keys[i], needsFull))
            return std::nullopt;
        keys[i].row = static_cast<uint32_t>(i);
        full[i] = needsFull;
        anyFull = anyFull || needsFull;
    }
    sortByBytes(keys);
    std::vector<uint32_t> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[i] = keys[i].row;
    if (!anyFull)
        return rows;
    // A run of equal keys holding a text the key does not wholly tell is put in order by the full texts; the
    // run is in row order, and the stable sort keeps equal texts so.
    for (size_t first = 0; first < count;) {
        size_t last = first + 1;
        bool needsFull = full[rows[first]];
        for (; last < count && keys[last].bytes == keys[first].bytes; ++last)
            needsFull = needsFull || full[rows[last]];
        if (needsFull && last - first > 1) {
            std::stable_sort(rows.begin() + static_cast<std::ptrdiff_t>(first),
                rows.begin() + static_cast<std::ptrdiff_t>(last), [&text, ascending](uint32_t a, uint32_t b) {
                    const int order = lowered(text(a)).compare(lowered(text(b)), Qt::CaseSensitive);
                    return ascending ? order < 0 : order > 0;
                });
        }
        first = last;
    }
    return rows;
}

template <typename TextOf> std::vector<uint32_t> lowerCaseOrder(size_t count, const TextOf& text, bool ascending)
{
    if (std::optional<std::vector<uint32_t>> rows = asciiOrder(count, text, ascending))
        return std::move(*rows);
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
        return lowered(text(a.row)).compare(lowered(text(b.row)), Qt::CaseSensitive);
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

} // namespace

std::vector<uint32_t> LowerCaseOrder(size_t count, const std::function<QString(size_t)>& text, bool ascending)
{
    return lowerCaseOrder(count, text, ascending);
}

std::vector<uint32_t> LowerCaseOrderOfViews(
    size_t count, const std::function<QStringView(size_t)>& text, bool ascending)
{
    return lowerCaseOrder(count, text, ascending);
}
