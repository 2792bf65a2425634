#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Charlie camera: the common editor with the Charlie layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionCharlie : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionCharlie(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
