#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the AlphaSp camera: the common editor with the AlphaSp layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionAlphaSp : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionAlphaSp(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
