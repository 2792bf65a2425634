#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Delta camera: the common editor with the Delta layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionDelta : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionDelta(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
