#include "camera/CDlgOptionFoxtrot.h"

CDlgOptionFoxtrot::CDlgOptionFoxtrot(const Environment& environment, QWidget* parent)
    : CDlgOption(CameraModel::Foxtrot, clockMemory(), environment, parent)
{
}

CDlgOption::ClockMemory& CDlgOptionFoxtrot::clockMemory()
{
    static ClockMemory memory;
    return memory;
}
