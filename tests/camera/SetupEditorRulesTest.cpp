#include "camera/SetupBackup.h"
#include "camera/SetupEditorRules.h"

#include "CameraFixtures.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <variant>
#include <vector>

using namespace camera_test;
using M = CameraModel;
using O = SetupOption;

namespace {

constexpr int kFrance = 33;
constexpr int kKorea = 82;

struct Choose
{
    O option;
    int value;
    int notice = 0; // the notice that refuses it, or 0
};
struct Slide
{
    int first;
    int second;
    bool single;
};
using Step = std::variant<Choose, Slide>;

SetupRecord loaded(CameraModel model, const QByteArray& image)
{
    QBuffer buffer;
    buffer.setData(image);
    buffer.open(QIODevice::ReadOnly);
    SetupRecord record(model);
    EXPECT_TRUE(LoadSetupRecord(record, buffer, model, kFrance));
    return record;
}

void run(SetupEditorRules& rules, const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        if (const auto* c = std::get_if<Choose>(&step)) {
            EXPECT_EQ(rules.choose(c->option, c->value), c->notice)
                << "option " << int(c->option) << " value " << c->value;
        } else {
            const auto& s = std::get<Slide>(step);
            rules.moveRatioSlider(s.first, s.second, s.single);
        }
    }
}

// Echo image: shock Normal (2), parking ON shock+motion (2), deletion by file type, ratios 40/30/30.
QByteArray echoBase(std::initializer_list<std::pair<int, int>> changes = {})
{
    QByteArray image = validImage(100, 26);
    image[5] = 2;
    image[6] = 2;
    image[13] = 0;
    image[98] = 1;
    image[99] = 1;
    for (auto [offset, value] : changes)
        image[offset] = static_cast<char>(value);
    return image;
}

struct InterplayCase
{
    const char* name;
    QByteArray start;
    std::vector<Step> steps;
    // Expected bytes after the steps: shock 5, parking 6, alarm 12, deletion 13, ratios 14-16.
    int shock, parking, alarm, deletion, normal, event, parkingRatio;
};

TEST(SetupEditorRules, RadioInterplayAndRatios)
{
    const InterplayCase cases[] = {
        { "shock OFF with parking OFF under file type: time order, 40/30/30",
            echoBase({ { 6, 0 }, { 14, 50 }, { 15, 50 }, { 16, 0 } }), { Choose { O::ShockSensing, 0 } }, 0, 0, 0, 1,
            40, 30, 30 },
        { "parking OFF while shock is OFF under file type: time order, 40/30/30",
            echoBase({ { 5, 0 }, { 14, 50 }, { 15, 0 }, { 16, 50 } }), { Choose { O::ParkingMode, 0 } }, 0, 0, 0, 1, 40,
            30, 30 },
        { "shock OFF with parking ON: 50/0/50, alarm off", echoBase({ { 12, 1 } }), { Choose { O::ShockSensing, 0 } }, 0,
            2, 0, 0, 50, 0, 50 },
        { "one thumb at 7 with parking ON and shock OFF: 70/0/30", echoBase({ { 12, 1 } }),
            { Choose { O::ShockSensing, 0 }, Slide { 7, 0, true } }, 0, 2, 0, 0, 70, 0, 30 },
        { "one thumb at 3 with parking OFF: 30/70/0", echoBase(),
            { Choose { O::ParkingMode, 0 }, Slide { 3, 0, true } }, 2, 0, 0, 0, 30, 70, 0 },
        { "two thumbs 2 and 7: 20/50/30", echoBase(), { Slide { 2, 7, false } }, 2, 2, 0, 0, 20, 50, 30 },
        { "slider ignored under time order", echoBase({ { 13, 1 } }), { Slide { 2, 7, false } }, 2, 2, 0, 1, 40, 30,
            30 },
        { "shock back on with parking ON restores 40/30/30", echoBase(),
            { Choose { O::ShockSensing, 0 }, Slide { 6, 0, true }, Choose { O::ShockSensing, 3 } }, 3, 2, 0, 0, 40, 30,
            30 },
        { "parking ON with shock on: 40/30/30", echoBase({ { 6, 0 }, { 14, 50 }, { 15, 50 }, { 16, 0 } }),
            { Choose { O::ParkingMode, 2 } }, 2, 2, 0, 0, 40, 30, 30 },
        { "parking OFF with shock on: 50/50/0", echoBase(), { Choose { O::ParkingMode, 0 } }, 2, 0, 0, 0, 50, 50, 0 },
        { "file type refused with both OFF (591), time order kept",
            echoBase({ { 5, 0 }, { 6, 0 }, { 13, 1 } }), { Choose { O::DeletionMethod, 0, 591 } }, 0, 0, 0, 1, 40, 30,
            30 },
        { "file type with parking only: two parts repaired to 50/0/50", echoBase({ { 5, 0 }, { 13, 1 } }),
            { Choose { O::DeletionMethod, 0 } }, 0, 2, 0, 0, 50, 0, 50 },
        { "file type with shock only keeps 60/40 that add up", echoBase({ { 6, 0 }, { 13, 1 }, { 14, 60 }, { 15, 40 }, { 16, 0 } }),
            { Choose { O::DeletionMethod, 0 } }, 2, 0, 0, 0, 60, 40, 0 },
        { "alarm refused while shock OFF (557)", echoBase({ { 5, 0 } }), { Choose { O::Alarm, 1, 557 } }, 0, 2, 0, 0,
            40, 30, 30 },
        { "alarm ON with shock on", echoBase(), { Choose { O::Alarm, 1 } }, 2, 2, 1, 0, 40, 30, 30 },
        { "parking sensing shock only", echoBase(), { Choose { O::ParkingSensing, 1 } }, 2, 1, 0, 0, 40, 30, 30 },
        { "parking sensing ignored while parking is OFF", echoBase({ { 6, 0 }, { 14, 50 }, { 15, 50 }, { 16, 0 } }),
            { Choose { O::ParkingSensing, 1 } }, 2, 0, 0, 0, 50, 50, 0 },
    };
    for (const InterplayCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetupRecord record = loaded(M::Echo, c.start);
        SetupEditorRules rules(record);
        run(rules, c.steps);
        EXPECT_EQ(record.byte(5), c.shock);
        EXPECT_EQ(record.byte(6), c.parking);
        EXPECT_EQ(record.byte(12), c.alarm);
        EXPECT_EQ(record.byte(13), c.deletion);
        EXPECT_EQ(record.byte(14), c.normal);
        EXPECT_EQ(record.byte(15), c.event);
        EXPECT_EQ(record.byte(16), c.parkingRatio);
    }
}

TEST(SetupEditorRules, RatioViewFollowsTheSwitches)
{
    SetupRecord record = loaded(M::Echo, echoBase());
    SetupEditorRules rules(record);
    RatioView view = rules.ratioView();
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.parts, 3);
    EXPECT_TRUE(view.twoThumbs);
    EXPECT_EQ(view.sliderFirst, 40);
    EXPECT_EQ(view.sliderSecond, 30);
    EXPECT_EQ(view.pieValues, (QList<qint64> { 40, 30, 30 }));
    EXPECT_EQ(view.legend.size(), 3);

    rules.choose(O::ShockSensing, 0);
    view = rules.ratioView();
    EXPECT_EQ(view.parts, 2);
    EXPECT_FALSE(view.twoThumbs);
    EXPECT_EQ(view.pieValues, (QList<qint64> { 50, 50 }));
    // "Normal" always, "Parking" because it is above 0, no "Event".
    EXPECT_EQ(view.legend, (QList<QPair<int, int>> { { 560, 50 }, { 561, 50 } }));

    rules.choose(O::DeletionMethod, 1);
    EXPECT_FALSE(rules.ratioView().shown);
}

TEST(SetupEditorRules, DeletionNoticeOnOk)
{
    struct Case
    {
        const char* name;
        QByteArray start;
        std::vector<Step> steps;
        int notice;
    };
    const Case cases[] = {
        { "nothing changed", echoBase(), {}, 0 },
        { "method changed to time order", echoBase(), { Choose { O::DeletionMethod, 1 } }, 552 },
        { "method changed to file type", echoBase({ { 13, 1 } }), { Choose { O::DeletionMethod, 0 } }, 552 },
        { "event sensing switched off", echoBase(), { Choose { O::ShockSensing, 0 } }, 558 },
        { "parking switched off", echoBase(), { Choose { O::ParkingMode, 0 } }, 593 },
        { "ratios moved", echoBase(), { Slide { 3, 6, false } }, 553 },
        { "time order throughout: nothing", echoBase({ { 13, 1 } }), { Choose { O::ShockSensing, 0 } }, 0 },
        // Loaded ratios 50/50/10 are normalised to 40/30/30 on load, which counts as unchanged.
        { "repaired on load is no change", echoBase({ { 14, 50 }, { 15, 50 }, { 16, 10 } }), {}, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetupRecord record = loaded(M::Echo, c.start);
        SetupEditorRules rules(record);
        run(rules, c.steps);
        EXPECT_EQ(rules.deletionNotice(), c.notice);
    }
}

TEST(SetupEditorRules, NetworkFieldValidation)
{
    struct Case
    {
        QString text;
        int notice;
    };
    for (const Case& c : { Case { QStringLiteral("123456789"), 616 }, Case { QStringLiteral("12345678901"), 616 },
             Case { QStringLiteral("12345a7890"), 617 }, Case { QStringLiteral("1234 67890"), 617 },
             Case { QStringLiteral("１２３４５６７８９０"), 617 }, Case { QStringLiteral("0123456789"), 0 },
             Case { QString(), 616 } }) {
        EXPECT_EQ(SetupEditorRules::wifiPasswordNotice(c.text), c.notice) << c.text.toStdString();
    }
    struct Ftp
    {
        QString id, password;
        int notice;
    };
    for (const Ftp& c : { Ftp { QStringLiteral("abcdefg"), QStringLiteral("password1"), 569 },
             Ftp { QStringLiteral("abcdefg_"), QStringLiteral("password1"), 573 },
             Ftp { QStringLiteral("abcdefgh"), QStringLiteral("short"), 569 },
             Ftp { QStringLiteral("abcdefgh"), QStringLiteral("pass-word"), 573 },
             Ftp { QStringLiteral("abcdefghijklmnopq"), QStringLiteral("password1"), 569 },
             Ftp { QStringLiteral("abcdefghijklmnop"), QStringLiteral("Password1"), 0 },
             Ftp { QStringLiteral("ABCdef12"), QStringLiteral("12345678"), 0 } }) {
        EXPECT_EQ(SetupEditorRules::ftpAccountNotice(c.id, c.password), c.notice)
            << c.id.toStdString() << " / " << c.password.toStdString();
    }
}

TEST(SetupEditorRules, ClockQuestionByModelAndCountry)
{
    const QDateTime chosen(QDate(2013, 5, 9), QTime(8, 7, 6));
    struct Case
    {
        CameraModel model;
        int country;
        int stringId; // 0: no question
        QList<QVariant> values;
    };
    const Case cases[] = {
        { M::Echo, kFrance, 602, { 13, 5, 9, 8, 7 } },
        { M::Echo, kKorea, 603, { 2013, 5, 9, 8, 7, 6 } },
        { M::Delta, 81, 602, { 13, 5, 9, 8, 7 } },
        { M::Foxtrot, kKorea, 603, { 2013, 5, 9, 8, 7, 6 } },
        { M::Bravo, kKorea, 602, { 2013, 5, 9, 8, 7 } },
        { M::Charlie, kFrance, 602, { 13, 5, 9, 8, 7 } },
        { M::Alpha, kKorea, 0, {} },
        { M::AlphaSp, kFrance, 0, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CameraModelName(c.model).toStdString() + " " + std::to_string(c.country));
        const auto question = SetupEditorRules::clockQuestion(c.model, c.country, chosen);
        ASSERT_EQ(question.has_value(), c.stringId != 0);
        if (question) {
            EXPECT_EQ(question->stringId, c.stringId);
            EXPECT_EQ(question->values, c.values);
        }
    }
    // The two-digit year is the year text's third and fourth characters: 2007 gives 7.
    EXPECT_EQ(SetupEditorRules::clockQuestion(M::Echo, kFrance, QDateTime(QDate(2007, 1, 2), QTime(3, 4)))->values.at(0), 7);
}

TEST(SetupEditorRules, FrameRateLabelsAndWideMode)
{
    // Alpha and Bravo label the full rate "24fps" at FULL HD only.
    for (CameraModel model : { M::Alpha, M::Bravo }) {
        SetupRecord record = loaded(model, validImage(SetupRecordLength(model), cameraModelInfo(model).modelCode));
        SetupEditorRules rules(record);
        rules.choose(O::Quality, 0);
        EXPECT_EQ(rules.frameRateLabel(0), 564);
        rules.choose(O::Quality, 1);
        EXPECT_EQ(rules.frameRateLabel(0), 565);
    }
    SetupRecord foxtrot = loaded(M::Foxtrot, validImage(30, 11));
    SetupEditorRules foxtrotRules(foxtrot);
    foxtrotRules.choose(O::Quality, 0);
    EXPECT_EQ(foxtrotRules.frameRateLabel(0), 565);

    // Charlie's Wide Mode forces the reduced rate, labelled "22fps", and keeps it.
    SetupRecord charlie = loaded(M::Charlie, validImage(26, 20));
    SetupEditorRules rules(charlie);
    ASSERT_EQ(charlie.byte(2), 0);
    rules.choose(O::Quality, 0);
    EXPECT_EQ(charlie.byte(2), 1);
    EXPECT_TRUE(rules.wideMode());
    EXPECT_EQ(rules.frameRateLabel(1), 563);
    rules.choose(O::FrameRate, 0);
    EXPECT_EQ(charlie.byte(2), 1);
    rules.choose(O::Quality, 2);
    EXPECT_EQ(rules.frameRateLabel(1), 562);
    rules.choose(O::FrameRate, 0);
    EXPECT_EQ(charlie.byte(2), 0);
}

TEST(SetupEditorRules, FourStepMotionSlider)
{
    const std::pair<int, int> positions[] = { { 1, 3 }, { 2, 2 }, { 3, 1 }, { 4, 0 }, { 0, 3 }, { 5, 3 }, { 10, 3 } };
    for (auto [position, value] : positions)
        EXPECT_EQ(SetupEditorRules::motionValueForSliderPosition(position), value) << position;
    for (int value = 0; value <= 3; ++value)
        EXPECT_EQ(SetupEditorRules::motionValueForSliderPosition(SetupEditorRules::motionSliderPosition(value)), value);
}

TEST(SetupEditorRules, OptionsNotOfferedChangeNothing)
{
    SetupRecord record = loaded(M::Alpha, validImage(18));
    const QByteArray before = record.image();
    SetupEditorRules rules(record);
    EXPECT_FALSE(SetupEditorRules::offers(M::Alpha, O::VoiceGuidance));
    rules.choose(O::VoiceGuidance, 0);
    rules.choose(O::FtpService, 1);
    rules.choose(O::RecordingVolume, 1);
    rules.choose(O::RecordingSound, 0);
    EXPECT_EQ(record.image(), before);
    EXPECT_TRUE(SetupEditorRules::offers(M::Charlie, O::RecordingSound));
    EXPECT_FALSE(SetupEditorRules::offers(M::Echo, O::SpeedDisplay));
    EXPECT_TRUE(SetupEditorRules::offers(M::Foxtrot, O::RecordingVolume));
}

// For every model: a file built by hand, loaded, every option changed through the rules, saved; the file must
// then hold exactly the record built by hand for the result.
TEST(SetupEditorRules, EveryModelEditsAndSavesByteForByte)
{
    QTemporaryDir dir;
    QTemporaryDir backups;
    setupbackup::setFolder(backups.path());
    const QString path = dir.path() + QStringLiteral("/Setup/setup.bin");

    for (CameraModel model : kAllCameraModels) {
        SCOPED_TRACE(CameraModelName(model).toStdString());
        const int length = SetupRecordLength(model);
        const int code = cameraModelInfo(model).modelCode;
        // Start: 1.2 firmware, 30fps, zone 5, sound ON, shock Normal, parking shock+motion, quality HD, parking
        // shock Normal, brightness Normal, motion 1, alarm ON, time order, 40/30/30, speed OFF.
        QByteArray start = bytes(length,
            { { 0, 1 }, { 1, 2 }, { 3, 5 }, { 4, 1 }, { 5, 2 }, { 6, 2 }, { 7, 1 }, { 8, 1 }, { 11, 1 }, { 12, 1 },
                { 13, 1 }, { 14, 40 }, { 15, 30 }, { 16, 30 } });
        if (!hasNetworkFields(model))
            start[17] = 1;
        if (code != kNoModelCode)
            start[18] = static_cast<char>(code);
        if (const auto voice = voiceGuidanceOffset(model)) {
            start[*voice] = 1;
            start[*voice + 1] = 1;
        }
        ASSERT_TRUE(writeFile(path, start));

        SetupRecord record(model);
        record.setCodePage(QStringLiteral("windows-1252"));
        ASSERT_TRUE(LoadSetupRecord(record, path, model, kFrance));
        SetupEditorRules rules(record);
        const std::vector<Step> steps = {
            Choose { O::Quality, 2 },
            Choose { O::FrameRate, 1 },
            Choose { O::ShockSensing, 3 },
            Choose { O::Brightness, 1 },
            Choose { O::SpeedDisplay, 0 },
            Choose { O::RecordingVolume, 1 },
            Choose { O::VoiceGuidance, 0 },
            Choose { O::VoiceVolume, 2 },
            Choose { O::ParkingSensing, 1 },
            Choose { O::ParkingShock, 2 },
            Choose { O::MotionSensitivity, 0 },
            Choose { O::Alarm, 0 },
            Choose { O::RecordingSound, 0 },
            Choose { O::DeletionMethod, 0 },
            Slide { 5, 8, false },
            Choose { O::FtpService, 1 },
        };
        run(rules, steps);
        if (hasNetworkFields(model)) {
            ASSERT_TRUE(record.setWifiPassword(QStringLiteral("0123456789")));
            ASSERT_TRUE(record.setFtpAccount(QStringLiteral("user0001"), QStringLiteral("secret99")));
        }
        if (clockBlockLayout(model)) {
            ASSERT_TRUE(record.setCameraClock(QDateTime(QDate(2013, 5, 9), QTime(8, 7, 6))));
        }
        ASSERT_EQ(SaveSetupRecord(record, path), SetupSaveResult::Saved) << record.errorString().toStdString();

        QByteArray expected = start;
        expected[7] = 2;
        expected[2] = 1;
        expected[5] = 3;
        expected[9] = 1;
        if (!hasNetworkFields(model))
            expected[17] = 0;
        if (model == M::Foxtrot)
            expected[29] = 1;
        if (const auto voice = voiceGuidanceOffset(model)) {
            expected[*voice] = 0;
            expected[*voice + 1] = 2;
        }
        expected[6] = 1;
        expected[8] = 2;
        expected[11] = 0;
        expected[12] = 0;
        if (model == M::Charlie)
            expected[4] = 0;
        expected[13] = 0;
        expected[14] = 50;
        expected[15] = 30;
        expected[16] = 20;
        if (hasNetworkFields(model)) {
            expected[27] = 1;
            expected[28] = 1;
            expected.replace(29, 8, "user0001");
            expected.replace(46, 8, "secret99");
            expected[63] = 1;
            expected.replace(81, 10, "0123456789");
        }
        if (const auto clock = clockBlockLayout(model)) {
            const int at = clock->flagOffset;
            expected[at] = 1;
            expected[at + 1] = static_cast<char>(2013 & 0xFF);
            expected[at + 2] = static_cast<char>(2013 >> 8);
            expected[at + 3] = 5;
            expected[at + 4] = 9;
            expected[at + 5] = 8;
            expected[at + 6] = 7;
            if (clock->hasSeconds)
                expected[at + 7] = 6;
        }
        EXPECT_EQ(readFile(path).toHex().toStdString(), expected.toHex().toStdString());
    }
    setupbackup::setFolder(QString());
    setupbackup::resetSession();
}

TEST(SetupEditorRules, FirmwareNoticeOnlyOnKoreanSystemsWithALoadedFile)
{
    SetupRecord record = loaded(M::Delta, bytes(98, { { 0, 1 }, { 1, 12 }, { 18, 25 }, { 13, 0 }, { 14, 40 }, { 15, 30 }, { 16, 30 } }));
    const auto notice = firmwareNoticeFor(record, kKorea);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->major, 1);
    EXPECT_EQ(notice->minor, 12);
    EXPECT_EQ(notice->deletionMethodStringId, 273);
    EXPECT_FALSE(firmwareNoticeFor(record, kFrance));
    record.setByte(13, 1);
    EXPECT_EQ(firmwareNoticeFor(record, kKorea)->deletionMethodStringId, 556);
    EXPECT_FALSE(firmwareNoticeFor(SetupRecord(M::Delta), kKorea));
    EXPECT_EQ(record.firmwareText(), QStringLiteral("KRV-DELTA FW Ver 1.12"));
}

TEST(FormatMessageText, PrintfConversions)
{
    EXPECT_EQ(FormatMessageText(QStringLiteral("Time setting will be changed to %d Y %d M %d D %d hr %d min."),
                  { 13, 5, 9, 8, 7 }),
        QStringLiteral("Time setting will be changed to 13 Y 5 M 9 D 8 hr 7 min."));
    EXPECT_EQ(FormatMessageText(QStringLiteral("FW %d.%d viewer %s: %s"), { 1, 2, QStringLiteral("1.3.4"), QStringLiteral("x") }),
        QStringLiteral("FW 1.2 viewer 1.3.4: x"));
    EXPECT_EQ(FormatMessageText(QStringLiteral("Normal : %d%%"), { 40 }), QStringLiteral("Normal : 40%"));
    EXPECT_EQ(FormatMessageText(QStringLiteral("[%02d] [%-3d]"), { 7, 5 }), QStringLiteral("[07] [5  ]"));
}

} // namespace
