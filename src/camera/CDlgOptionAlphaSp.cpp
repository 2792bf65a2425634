#include "camera/CDlgOptionAlphaSp.h"

CDlgOptionAlphaSp::CDlgOptionAlphaSp(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::AlphaSp, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionAlphaSp::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
