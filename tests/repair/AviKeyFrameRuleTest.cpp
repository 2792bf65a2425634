#include "repair/AviKeyFrameRule.h"

#include <gtest/gtest.h>

namespace {

struct RuleCase
{
    const char* codec;
    QByteArray data;
    bool key;
};

class KeyFrameRuleTable : public ::testing::TestWithParam<RuleCase>
{
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

bool isKey(const char* codec, const QByteArray& data, uint32_t streamCount = 5)
{
    AviKeyFrameRule rule(codec);
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    return rule.isKeyFrame(p, uint32_t(data.size()), uint32_t(data.size()), streamCount);
}

TEST_P(KeyFrameRuleTable, DecidesFromTheFirstBytes)
{
    const RuleCase& c = GetParam();
    EXPECT_EQ(isKey(c.codec, c.data), c.key) << c.codec << " " << c.data.toHex().constData();
}

INSTANTIATE_TEST_SUITE_P(Codecs, KeyFrameRuleTable,
    ::testing::Values(RuleCase {"MJPG", bytes({0xFF, 0xD8, 0xFF, 0xE0}), true},
        RuleCase {"mjpg", bytes({0x12, 0x34, 0x56, 0x7F}), true},
        RuleCase {"DIV3", bytes({0x01, 0x70, 0, 0}), true},
        RuleCase {"MP43", bytes({0x01, 0x70 | 0x80, 0, 0}), false},
        RuleCase {"MP42", bytes({0x41, 0x70, 0, 0}), false},
        RuleCase {"DIV3", bytes({0x00, 0x70, 0, 0}), false},
        RuleCase {"XVID", bytes({0, 0, 0, 0xF9}), true},
        RuleCase {"DX50", bytes({0, 0, 0, 0x02}), false},
        RuleCase {"DIVX", bytes({0, 0, 0, 0x04}), false},
        RuleCase {"SVQ1", bytes({0, 0, 0, 0xFE}), true},
        RuleCase {"SVQ1", bytes({0, 0, 0, 0x01}), false},
        RuleCase {"VP62", bytes({0x7F, 0, 0, 0}), true},
        RuleCase {"WMV2", bytes({0x80, 0, 0, 0}), false},
        RuleCase {"VP30", bytes({0x00, 0xFF, 0xFF, 0xFF}), true},
        RuleCase {"H264", bytes({0, 0, 0, 1, 0x67, 0x42}), true},
        RuleCase {"AVC1", bytes({0, 0, 0, 1, 0x41, 0x9A}), false},
        RuleCase {"H264", bytes({0, 0, 1, 0x67, 0x42, 0}), true},
        RuleCase {"h264", bytes({0, 0, 1, 0x65, 0x88, 0}), false},
        RuleCase {"H264", bytes({0x12, 0x00, 0x02, 0x01, 0x27, 0}), true}, // bit 24 without a start code
        RuleCase {"H264", bytes({0x67, 0x42, 0, 0, 0}), false},
        RuleCase {"WMV1", bytes({0xBF, 0, 0, 0}), true},
        RuleCase {"WMV1", bytes({0x40, 0, 0, 0}), false},
        RuleCase {"WMV3", bytes({0xDF, 0, 0, 0}), true},
        RuleCase {"WMV3", bytes({0x20, 0, 0, 0}), false},
        RuleCase {"FMP4", bytes({0, 0, 0, 0xF9}), true},
        RuleCase {"FMP4", bytes({0, 0, 0, 0x06}), false},
        // bytes past the data read as zero, never past the buffer
        RuleCase {"H264", bytes({0, 0, 0, 1}), false},
        RuleCase {"XVID", QByteArray(), true}));

TEST(KeyFrameRule, H264IndexFlagsMarkEveryParameterSetChunkAndDisposableFrames)
{
    AviKeyFrameRule rule("H264");
    auto flags = [&rule](const QByteArray& d, uint32_t count) {
        return rule.indexFlags(reinterpret_cast<const unsigned char*>(d.constData()), uint32_t(d.size()),
            uint32_t(d.size()), count);
    };
    EXPECT_EQ(flags(bytes({0, 0, 0, 1, 0x06, 0x05}), 0), AviKeyFrameRule::kKeyFrameFlag); // first chunk
    EXPECT_EQ(flags(bytes({0, 0, 0, 1, 0x67, 0x64}), 40), AviKeyFrameRule::kKeyFrameFlag);
    EXPECT_EQ(flags(bytes({0, 0, 0, 1, 0x01, 0x9E}), 41), AviKeyFrameRule::kDisposableFlag);
    EXPECT_EQ(flags(bytes({0, 0, 1, 0x01, 0x9E, 0}), 41), AviKeyFrameRule::kDisposableFlag);
    EXPECT_EQ(flags(bytes({0, 0, 0, 1, 0x41, 0x9A}), 42), 0u);
}

TEST(KeyFrameRule, Svq3SliceTypeFromTheSliceHeader)
{
    // header 0x21: one length byte, slice type at byte 2; 0x41: two length bytes, slice type at byte 3
    auto type = [](const QByteArray& d) {
        return AviKeyFrameRule::svq3SliceType(reinterpret_cast<const unsigned char*>(d.constData()),
            uint32_t(d.size()), uint32_t(d.size()));
    };
    EXPECT_EQ(type(bytes({0x21, 0x10, 0x60})), 2); // "011" I
    EXPECT_EQ(type(bytes({0x21, 0x10, 0x80})), 0); // "1" P
    EXPECT_EQ(type(bytes({0x21, 0x10, 0x20})), 1); // "001" B
    EXPECT_EQ(type(bytes({0x41, 0x01, 0x00, 0x7F})), 2);
    EXPECT_EQ(type(bytes({0x42, 0x01, 0x00, 0x9F})), 0);
    EXPECT_EQ(type(bytes({0x01, 0x10, 0x60})), -1); // no length field
    EXPECT_EQ(type(bytes({0x23, 0x10, 0x60})), -1); // unknown header form
    EXPECT_EQ(type(bytes({0x21, 0x10})), -1);       // cut short
    EXPECT_EQ(type(bytes({0x21, 0x10, 0x00, 0x00})), -1);
}

TEST(KeyFrameRule, Svq3KeepsStateAcrossChunks)
{
    AviKeyFrameRule rule("svq3");
    auto key = [&rule](const QByteArray& d, uint32_t count) {
        return rule.isKeyFrame(reinterpret_cast<const unsigned char*>(d.constData()), uint32_t(d.size()),
            uint32_t(d.size()), count);
    };
    auto take = [&rule](const QByteArray& d) {
        rule.noteTaken(reinterpret_cast<const unsigned char*>(d.constData()), uint32_t(d.size()), uint32_t(d.size()));
    };
    const QByteArray intra = bytes({0x41, 0x00, 0x40, 0x60, 0x00});
    const QByteArray predicted = bytes({0x41, 0x00, 0x40, 0x80, 0x00});
    const QByteArray opaque = bytes({0x00, 0x00, 0x00, 0x00});

    // The first chunk of the stream is a key frame whatever it holds.
    EXPECT_TRUE(key(opaque, 0));
    EXPECT_TRUE(key(predicted, 0));
    take(intra);
    EXPECT_TRUE(key(intra, 1));
    EXPECT_FALSE(key(predicted, 2));
    // Frames that carry no slice header are not key frames once the stream is known to have them.
    EXPECT_FALSE(key(opaque, 3));

    // A stream whose first frame has no slice header is judged by the generic rule from then on.
    rule.setCodec("SVQ3");
    take(opaque);
    EXPECT_TRUE(key(opaque, 1));
    EXPECT_FALSE(key(bytes({0, 0, 0, 0x06}), 2));
    // Testing candidates never changes the state.
    rule.setCodec("SVQ3");
    EXPECT_FALSE(key(predicted, 1));
    take(intra);
    EXPECT_FALSE(key(opaque, 2));
}

} // namespace
