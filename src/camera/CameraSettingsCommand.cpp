#include "camera/CameraSettingsCommand.h"

#include "app/StringTables.h"
#include "camera/CDlgOptionAlpha.h"
#include "camera/CDlgOptionAlphaSp.h"
#include "camera/CDlgOptionBravo.h"
#include "camera/CDlgOptionCharlie.h"
#include "camera/CDlgOptionDelta.h"
#include "camera/CDlgOptionEcho.h"
#include "camera/CDlgOptionFoxtrot.h"
#include "camera/CameraIdentification.h"
#include "camera/CameraSettingsChoice.h"
#include "camera/SetupEditorRules.h"
#include "platform/SettingsStore.h"
#include "skin/CDlgMessage.h"

namespace {

std::function<int(CDlgOption&)>& testRunner()
{
    static std::function<int(CDlgOption&)> runner;
    return runner;
}

} // namespace

std::unique_ptr<CDlgOption> CreateCameraSettingsEditor(
    CameraModel model, const CDlgOption::Environment& environment, QWidget* parent)
{
    switch (model) {
    case CameraModel::Alpha:
        return std::make_unique<CDlgOptionAlpha>(environment, parent);
    case CameraModel::AlphaSp:
        return std::make_unique<CDlgOptionAlphaSp>(environment, parent);
    case CameraModel::Bravo:
        return std::make_unique<CDlgOptionBravo>(environment, parent);
    case CameraModel::Charlie:
        return std::make_unique<CDlgOptionCharlie>(environment, parent);
    case CameraModel::Delta:
        return std::make_unique<CDlgOptionDelta>(environment, parent);
    case CameraModel::Echo:
        return std::make_unique<CDlgOptionEcho>(environment, parent);
    case CameraModel::Foxtrot:
        return std::make_unique<CDlgOptionFoxtrot>(environment, parent);
    }
    return std::make_unique<CDlgOptionAlpha>(environment, parent);
}

CameraModel OpenCameraSettings(const CameraSettingsContext& context)
{
    SettingsStore& store = context.store ? *context.store : SettingsStore::user();
    const CameraModel model = ChooseSettingsModel(context.cardRoot, store);

    CDlgOption::Environment environment;
    environment.store = &store;
    environment.countryCode = context.countryCode;
    std::unique_ptr<CDlgOption> editor = CreateCameraSettingsEditor(model, environment, context.parent);
    editor->SetPath(SetupFilePath(context.cardRoot));
    int result = 0;
    if (testRunner()) {
        editor->initialise();
        result = testRunner()(*editor);
    } else {
        result = editor->exec();
    }
    editor.reset();

    if (result == CDlgOption::SaveFailed)
        CDlgMessage::ask(CDlgMessage::StyleOk, editornotice::kSaveFailed, context.parent);
    if (context.applyModelLayout)
        context.applyModelLayout(model);
    return model;
}

bool ShowFirmwareNotice(CameraModel model, const QString& cardRoot, int countryCode, QWidget* parent)
{
    if (countryCode != 82)
        return false;
    SetupRecord record(model);
    if (!LoadSetupRecord(record, SetupFilePath(cardRoot), model, countryCode))
        return false;
    const auto notice = firmwareNoticeFor(record, countryCode);
    if (!notice)
        return false;
    const QString text = FormatMessageText(StringById(editornotice::kFirmwareNotice),
        { notice->major, notice->minor, StringById(131), StringById(notice->deletionMethodStringId) });
    CDlgMessage::ask(CDlgMessage::StyleOk, text, QString(), parent);
    return true;
}

void setCameraSettingsRunnerForTesting(std::function<int(CDlgOption&)> runner)
{
    testRunner() = std::move(runner);
}
