#include "camera/CDlgOptionCharlie.h"

CDlgOptionCharlie::CDlgOptionCharlie(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Charlie, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionCharlie::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
