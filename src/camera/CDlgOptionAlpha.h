#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Alpha camera: the common editor with the Alpha layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionAlpha : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionAlpha(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
