#include "camera/CDlgOptionDelta.h"

CDlgOptionDelta::CDlgOptionDelta(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Delta, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionDelta::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
