#include "camera/CDlgOptionAlpha.h"

CDlgOptionAlpha::CDlgOptionAlpha(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Alpha, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionAlpha::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
