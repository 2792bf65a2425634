#include "app/StartupChecks.h"

#include <sys/sysinfo.h>

#include <thread>

bool NeedsCapabilityWarning(unsigned processorCount, uint64_t totalMemoryBytes)
{
    const double gib = double(totalMemoryBytes) / double(uint64_t(1) << 30);
    return processorCount <= 1 || gib < 1.5;
}

QString CapabilityWarningText(int countryCode)
{
    switch (countryCode) {
    case 82:
        return QStringLiteral("컴퓨터 성능이 Full HD영상을 돌리는데 문제가 있을수 있습니다");
    case 81:
        return QStringLiteral("警告 !コンピューターの性能によってはFULL-HDの再生ができない場合があります。");
    default:
        return QStringLiteral("Warnning! Your Computer isn't good enough to play FULL-HD");
    }
}

unsigned SystemProcessorCount()
{
    return std::thread::hardware_concurrency();
}

uint64_t SystemMemoryBytes()
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return 0;
    return uint64_t(info.totalram) * info.mem_unit;
}

QString ViewerChooserText()
{
    return QStringLiteral("뷰어를 선택하세요.\n"
                          "     고사양 PC용(영상 보정 / 고급 기능)\n"
                          "     중사양 PC용(일반 기능)\n"
                          "     저사양 PC용(일반 기능 / 영상 재생 우선)\n"
                          "[주의] 저사양 PC용 뷰어 선택 시 영상 재생을 제외한\n"
                          "시스템 동작이 느려질 수 있습니다.");
}

QString ViewerChooserCheckText()
{
    return QStringLiteral("     다시 보지 않기(환경설정에서 선택 가능)");
}

QString ModelTypeName(int modelIndex)
{
    switch (modelIndex) {
    case 4:
        return QStringLiteral("KRV-DELTA");
    case 5:
        return QStringLiteral("KRV-ECHO_WDR");
    default:
        return QString();
    }
}
