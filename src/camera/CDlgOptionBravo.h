#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Bravo camera: the common editor with the Bravo layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionBravo : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionBravo(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
