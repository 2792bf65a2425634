#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The order the recording list sorts texts in: both texts lower-cased, then compared UTF-16 code unit by
// code unit; equal texts keep their order. Returns the row indexes in their new order; text(i) is the
// text of row i.
//
// A list of tens of thousands of rows is sorted on every fill: each text's first code units are packed
// once into a fixed key that compares as whole numbers, so almost every comparison is a few integer
// compares and only texts whose first sixteen code units agree are compared in full.
std::vector<uint32_t> LowerCaseOrder(size_t count, const std::function<QString(size_t)>& text, bool ascending);
