#pragma once

#include "sensor/SidecarDataFile.h"

#include <array>
#include <optional>

// The rules of Japan's three-axis readout: per axis a sign cell and four digit cells, each holding a glyph
// number; a sample outside the +-2 g range keeps what is shown.
class AxisReadout
{
public:
    static constexpr int kAxes = 3;
    static constexpr int kCellsPerAxis = 5; // sign, then four digits
    static constexpr int kPlus = 20;
    static constexpr int kMinus = 30;
    static constexpr int kBlank = 40;
    static constexpr int kLimit = 2048;

    using Cells = std::array<int, kCellsPerAxis>;

    // The sign glyph and the magnitude's four digits ("%05d" without its first character).
    static Cells cellsFor(int value);

    // Shows a lookup's answer; nothing (no sample) keeps the display. Returns one bit per changed cell,
    // bit axis x 5 + cell, so only those cells are repainted.
    unsigned show(const std::optional<sidecar::SensorRecord>& sample);

    int glyph(int axis, int cell) const { return m_cells[static_cast<size_t>(axis)][static_cast<size_t>(cell)]; }

private:
    std::array<Cells, kAxes> m_cells { cellsFor(0), cellsFor(0), cellsFor(0) };
};
