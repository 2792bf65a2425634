#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Echo camera: the common editor with the Echo layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionEcho : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionEcho(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
