#include "camera/CameraSettingsChoice.h"
#include "camera/ViewerOptionsSession.h"
#include "platform/SettingsStore.h"

#include "CameraFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace camera_test;

namespace {

const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

class ViewerOptions : public ::testing::Test
{
protected:
    void set(const char* name, int value) { m_store.WriteRegistryNumber(kKey, QString::fromLatin1(name), value); }
    std::optional<int> get(const char* name)
    {
        int32_t value = 0;
        if (!m_store.ReadRegistryNumber(kKey, QString::fromLatin1(name), value))
            return std::nullopt;
        return value;
    }
    void startUpValues(int tier, int setting)
    {
        set("ViewerPerformance", tier);
        set("ViewerSettingInit", 1);
        set("ViewerPostproc", 6);
        set("ViewerModNoise", 1);
        set("ViewerHgResampling", 1);
        set("ViewerSetting", setting);
        set("ViewerPerformancePrevious", tier);
    }

    QTemporaryDir m_dir;
    SettingsStore m_store { m_dir.path() };
};

TEST_F(ViewerOptions, LoadShowsStoredValuesAsTheRadiosDo)
{
    struct Case
    {
        int tier, init, post, noise, resampling;
        ViewerOptionsSession::Values shown;
    };
    const Case cases[] = {
        { 0, 1, 6, 1, 1, { 0, 1, 6, 1, 1 } },
        { 7, 0, 3, 0, 0, { 1, 0, 3, 0, 0 } },
        { 2, 5, 2, 2, 7, { 2, 1, 0, 0, 0 } },
        { -1, 1, 1, 1, 0, { 1, 1, 1, 1, 0 } },
    };
    for (const Case& c : cases) {
        set("ViewerPerformance", c.tier);
        set("ViewerSettingInit", c.init);
        set("ViewerPostproc", c.post);
        set("ViewerModNoise", c.noise);
        set("ViewerHgResampling", c.resampling);
        ViewerOptionsSession session(m_store);
        session.load();
        EXPECT_EQ(session.values(), c.shown) << c.tier << " " << c.post;
    }
}

TEST_F(ViewerOptions, CommitWritesChangesAndNamesTheNotices)
{
    struct Case
    {
        const char* name;
        int setting; // ViewerSetting before OK
        int tier, post;
        bool hideChooser;
        QList<int> notices;
        int expectTier, expectPrevious, expectPost;
    };
    const Case cases[] = {
        { "nothing changed", 0, 0, 6, true, {}, 0, 0, 6 },
        { "tier to Low in a fresh session", 0, 2, 6, true, { 276 }, 2, 0, 6 },
        { "tier to Mid after an earlier change", 1, 1, 6, true, { 276 }, 1, 0, 6 },
        { "post-processing only", 0, 0, 3, true, { 282 }, 0, 0, 3 },
        { "both", 0, 1, 0, false, { 276, 282 }, 1, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startUpValues(0, c.setting);
        ViewerOptionsSession session(m_store);
        session.load();
        session.setTier(c.tier);
        session.setPostProcessing(c.post);
        session.setChooserHidden(c.hideChooser);
        EXPECT_EQ(session.commit(), c.notices);
        EXPECT_EQ(get("ViewerPerformance"), c.expectTier);
        EXPECT_EQ(get("ViewerPerformancePrevious"), c.expectPrevious);
        EXPECT_EQ(get("ViewerPostproc"), c.expectPost);
        EXPECT_EQ(get("ViewerSetting"), 1);
        EXPECT_EQ(get("ViewerSettingInit"), c.hideChooser ? 1 : 0);
    }
}

TEST_F(ViewerOptions, ConstructedTierDecidesTheAdvancedTab)
{
    set("ViewerPerformance", 0);
    EXPECT_EQ(ViewerOptionsSession::constructedTier(m_store), 0);
    set("ViewerPerformance", 9);
    EXPECT_EQ(ViewerOptionsSession::constructedTier(m_store), 1);
}

TEST_F(ViewerOptions, SettingsModelFromTheCardElseTheRememberedType)
{
    QTemporaryDir card;
    const QString root = card.path() + QLatin1Char('/');
    QString type;

    // Nothing remembered and no card: Alpha, and "KRV-ALPHA" is written.
    EXPECT_EQ(ChooseSettingsModel(root, m_store), CameraModel::Alpha);
    ASSERT_TRUE(m_store.ReadRegistryText(kKey, QStringLiteral("Type"), type));
    EXPECT_EQ(type, QStringLiteral("KRV-ALPHA"));

    // An Echo card is remembered ...
    ASSERT_TRUE(writeFile(root + QStringLiteral("Setup/setup.bin"), validImage(100, 26)));
    EXPECT_EQ(ChooseSettingsModel(root, m_store), CameraModel::Echo);
    ASSERT_TRUE(m_store.ReadRegistryText(kKey, QStringLiteral("Type"), type));
    EXPECT_EQ(type, QStringLiteral("KRV-ECHO_WDR"));
    // ... and chosen again once the card is gone.
    ASSERT_TRUE(QFile::remove(root + QStringLiteral("Setup/setup.bin")));
    EXPECT_EQ(ChooseSettingsModel(root, m_store), CameraModel::Echo);

    // The remembered name is compared exactly.
    const std::pair<const char*, CameraModel> names[] = { { "KRV-DELTA", CameraModel::Delta },
        { "KRV-DELTA ", CameraModel::Alpha }, { "krv-delta", CameraModel::Alpha }, { "KRV-FOXTROT", CameraModel::Foxtrot } };
    for (auto [name, model] : names) {
        m_store.WriteRegistryText(kKey, QStringLiteral("Type"), QString::fromLatin1(name));
        EXPECT_EQ(ChooseSettingsModel(root, m_store), model) << name;
    }

    // A short file is an Alpha card.
    ASSERT_TRUE(writeFile(root + QStringLiteral("Setup/setup.bin"), validImage(18)));
    EXPECT_EQ(ChooseSettingsModel(root, m_store), CameraModel::Alpha);
}

} // namespace
