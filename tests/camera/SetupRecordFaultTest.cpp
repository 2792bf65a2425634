// Saving the settings file with faults put under the file layer: a full or failing card, short writes, a
// failing sync, the card pulled while the new file is written. Every row proves: the file under the settings
// name is either the whole old file or the whole new one, no temporary file stays, and the result says
// failed exactly when the save failed.
#include "camera/CameraModel.h"
#include "camera/SetupBackup.h"
#include "camera/SetupRecord.h"
#include "platform/FileFaults.h"

#include "CameraFixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

using platform::FileFaultRules;
using platform::FileOp;

namespace {

struct SaveFaultRow
{
    const char* what;
    std::function<void(FileFaultRules&, int length)> faults;
    bool saved;
};

struct SaveCase
{
    SaveFaultRow row;
    CameraModel model;
};

class SetupSaveFault : public ::testing::TestWithParam<SaveCase>
{
protected:
    void SetUp() override
    {
        setupbackup::setFolder(m_backups.path());
        setupbackup::resetSession();
    }
    void TearDown() override
    {
        platform::setFileFaultPlan(nullptr);
        setupbackup::setFolder(QString());
        setupbackup::resetSession();
    }
    QTemporaryDir m_dir;
    QTemporaryDir m_backups;
};

TEST_P(SetupSaveFault, TheCardHoldsTheOldFileOrTheNewOne)
{
    const SaveFaultRow row = GetParam().row;
    const CameraModel model = GetParam().model;
    const QString path = m_dir.filePath(QStringLiteral("Setup/setup.bin"));
    const QByteArray old = MakeDefaultSetupRecord(model, 33).image();
    ASSERT_TRUE(camera_test::writeFile(path, old));

    SetupRecord record(model);
    ASSERT_TRUE(LoadSetupRecord(record, path, model, 33));
    record.setByte(setup::kBrightness, record.byte(setup::kBrightness) == 1 ? 2 : 1);
    const QByteArray edited = record.image();
    ASSERT_NE(edited, old);

    auto rules = std::make_shared<FileFaultRules>();
    row.faults(*rules, record.length());
    platform::setFileFaultPlan(rules);
    const SetupSaveResult result = SaveSetupRecord(record, path);
    platform::setFileFaultPlan(nullptr);

    EXPECT_EQ(result == SetupSaveResult::Saved, row.saved) << row.what << ": " << record.errorString().toStdString();
    if (!row.saved) {
        EXPECT_EQ(result, SetupSaveResult::WriteFailed) << row.what;
    }
    const QByteArray now = camera_test::readFile(path);
    EXPECT_EQ(now, row.saved ? edited : old) << row.what;
    EXPECT_EQ(QDir(m_dir.filePath(QStringLiteral("Setup"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("setup.bin") })
        << row.what << ": a temporary file stayed";
}

const SaveFaultRow kRows[] = {
    { "no fault", [](FileFaultRules&, int) {}, true },
    { "card full at once", [](FileFaultRules& r, int) { r.failWritesAfter(".krv-new", 0, ENOSPC); }, false },
    { "card full in the record", [](FileFaultRules& r, int n) { r.failWritesAfter(".krv-new", n / 2, ENOSPC); },
        false },
    { "card full one byte short", [](FileFaultRules& r, int n) { r.failWritesAfter(".krv-new", n - 1, ENOSPC); },
        false },
    { "I/O error in the record", [](FileFaultRules& r, int n) { r.failWritesAfter(".krv-new", n / 2, EIO); },
        false },
    { "short writes", [](FileFaultRules& r, int) { r.shortTransfers(".krv-new", FileOp::Write, 3); }, true },
    { "the sync fails", [](FileFaultRules& r, int) { r.failSyncs(".krv-new", EIO); }, false },
    { "card pulled while writing", [](FileFaultRules& r, int n) { r.vanishAfter(".krv-new", n / 3); }, false },
};

std::vector<SaveCase> cases()
{
    std::vector<SaveCase> all;
    for (const SaveFaultRow& row : kRows) {
        for (CameraModel model : kAllCameraModels)
            all.push_back({ row, model });
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, SetupSaveFault, ::testing::ValuesIn(cases()),
    [](const auto& info) { return "row" + std::to_string(info.index); });

} // namespace
