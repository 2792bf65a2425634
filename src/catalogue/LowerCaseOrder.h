#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// The order the recording list sorts texts in: both texts lower-cased, then compared UTF-16 code unit by
// code unit; equal texts keep their order. Returns the row indexes in their new order; text(i) is the
// text of row i.
//
// A list of tens of thousands of rows is sorted on every fill: each text's first sixteen code units are
// packed once into a fixed key. When every text is ASCII there (the camera's names are), the keys are a
// byte each per unit and are put in order byte by byte without comparisons; otherwise the keys compare as
// whole numbers. Only texts whose keys agree and that the key does not wholly hold are compared in full.
std::vector<uint32_t> LowerCaseOrder(size_t count, const std::function<QString(size_t)>& text, bool ascending);
// The same order over texts that outlive the call (the rows' own): their keys are read without a copy of each.
std::vector<uint32_t> LowerCaseOrderOfViews(
    size_t count, const std::function<QStringView(size_t)>& text, bool ascending);

// Puts items[order[i]] at position i for every i, moving each item once along the cycles of the order
// (no second array of the items). order must be a permutation of 0..items.size()-1.
template <typename T> void ApplyOrder(std::vector<T>& items, const std::vector<uint32_t>& order)
{
    std::vector<bool> placed(items.size(), false);
    for (size_t start = 0; start < items.size(); ++start) {
        if (placed[start])
            continue;
        T held = std::move(items[start]);
        size_t to = start;
        while (order[to] != start) {
            items[to] = std::move(items[order[to]]);
            placed[to] = true;
            to = order[to];
        }
        items[to] = std::move(held);
        placed[to] = true;
    }
}
