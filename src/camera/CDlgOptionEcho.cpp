#include "camera/CDlgOptionEcho.h"

CDlgOptionEcho::CDlgOptionEcho(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Echo, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionEcho::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
