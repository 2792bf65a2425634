#pragma once

#include "camera/CDlgOption.h"

// The settings editor of the Foxtrot camera: the common editor with the Foxtrot layout table and rules, and its own
// memory of the clock last confirmed in it during this run.
class CDlgOptionFoxtrot : public CDlgOption
{
    Q_OBJECT
public:
    explicit CDlgOptionFoxtrot(const Environment& environment, QWidget* parent = nullptr);

    static ClockMemory& clockMemory();
};
