#include "camera/CDlgOptionBravo.h"

CDlgOptionBravo::CDlgOptionBravo(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Bravo, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionBravo::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
