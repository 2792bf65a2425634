#include "sensor/AxisReadout.h"

#include <cstdlib>

AxisReadout::Cells AxisReadout::cellsFor(int value)
{
    Cells cells {};
    cells[0] = value > 0 ? kPlus : value < 0 ? kMinus : kBlank;
    // Values reach here within +-2048, so four digits hold the magnitude.
    long long magnitude = std::llabs(static_cast<long long>(value)) % 10000;
    for (int i = 4; i >= 1; --i) {
        cells[static_cast<size_t>(i)] = static_cast<int>(magnitude % 10);
        magnitude /= 10;
    }
    return cells;
}

unsigned AxisReadout::show(const std::optional<sidecar::SensorRecord>& sample)
{
    if (!sample)
        return 0;
    const int values[kAxes] = { sample->x, sample->y, sample->z };
    for (int v : values) {
        if (v < -kLimit || v > kLimit)
            return 0;
    }
    unsigned changed = 0;
    for (int axis = 0; axis < kAxes; ++axis) {
        const Cells cells = cellsFor(values[axis]);
        for (int cell = 0; cell < kCellsPerAxis; ++cell) {
            int& shown = m_cells[static_cast<size_t>(axis)][static_cast<size_t>(cell)];
            if (shown != cells[static_cast<size_t>(cell)]) {
                shown = cells[static_cast<size_t>(cell)];
                changed |= 1u << (axis * kCellsPerAxis + cell);
            }
        }
    }
    return changed;
}
