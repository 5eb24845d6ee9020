#include "FormMapping.h"
#include "FieldFormat.h"
#include "WeightUnit.h"

#include <gtest/gtest.h>

#include <string>

using namespace tensiq;

namespace {

ParameterBlock PatternBlock() {
    ParameterBlock b;
    for (std::size_t i = 0; i < ParameterBlock::kSize; ++i)
        b.bytes[i] = static_cast<std::uint8_t>(0xA0 + i * 7);
    b.SetFullScaleLoad(8000);
    b.SetTare(-2);
    b.SetEmptyLoadThreshold(1000);
    b.SetFullLoadThreshold(1600);
    b.SetOverloadThreshold(1800);
    b.SetSlackRopeThreshold(50);
    b.SetRopeDifference(200);
    b.SetEmptyLoadContact(0);
    b.SetFullLoadContact(1);
    b.SetOverloadContact(1);
    b.SetSlackRopeContact(0);
    b.SetRopeCount(6);
    b.SetFactor(3);
    b.SetLiveZeroTenths(25);
    b.SetApplyToPayload(1);
    b.SetSensorType(2);
    return b;
}

// The seven weight edits as text, printed and read the way the window does.
struct WeightTexts {
    std::array<std::string, kWeightCount> text;

    void Print(FormValues& v, ShownWeights& shown) {
        const auto w = v.Weights();
        for (std::size_t i = 0; i < kWeightCount; ++i) {
            text[i] = FormatReal(*w[i], kDoublePrecision);
            shown.Printed(i, text[i]);
        }
    }
    void Read(FormValues& v, ShownWeights& shown) {
        const auto w = v.Weights();
        for (std::size_t i = 0; i < kWeightCount; ++i) {
            shown.Read(i, text[i]);
            ASSERT_TRUE(ParseReal(text[i], *w[i])) << text[i];
        }
    }
    // A unit change: read, convert, print.
    void Switch(FormValues& v, ShownWeights& shown, int to) {
        Read(v, shown);
        ConvertWeights(v, v.unit, to);
        v.unit = to;
        Print(v, shown);
    }
};

} // namespace

TEST(FormDecode, PutsEveryFieldIntoTheValuesWeightsInTheDisplayedUnit) {
    FormValues v;
    ShownWeights shown;
    const auto check = DecodeBlock(PatternBlock(), 1.08f, v, shown);
    EXPECT_EQ(v.fullScaleLoad, 8000.0);
    EXPECT_EQ(v.tare, -2.0);
    EXPECT_EQ(v.emptyLoadThreshold, 1000.0);
    EXPECT_EQ(v.fullLoadThreshold, 1600.0);
    EXPECT_EQ(v.overloadThreshold, 1800.0);
    EXPECT_EQ(v.slackRopeThreshold, 50.0);
    EXPECT_EQ(v.ropeDifference, 200.0);
    EXPECT_EQ(v.emptyLoadContact, 0);
    EXPECT_EQ(v.fullLoadContact, 1);
    EXPECT_EQ(v.overloadContact, 1);
    EXPECT_EQ(v.slackRopeContact, 0);
    EXPECT_EQ(v.ropeCount, 6u);
    EXPECT_EQ(v.factor, 3u);
    EXPECT_EQ(v.sensorType, 2);
    EXPECT_EQ(v.applyToPayload, 1);
    EXPECT_EQ(FormatReal(v.liveZeroVolts, kFloatPrecision), "2.5");
    EXPECT_EQ(check, std::optional<bool>(true)) << "live zero 25 checks the box";

    ParameterBlock b = PatternBlock();
    b.SetFactor(-1);
    b.SetLiveZeroTenths(0);
    v.unit = Pound;
    EXPECT_EQ(DecodeBlock(b, 1.12f, v, shown), std::optional<bool>(false));
    EXPECT_EQ(v.factor, 4294967295u) << "the factor is a signed byte";
    EXPECT_EQ(FormatReal(v.emptyLoadThreshold, kDoublePrecision), "2204.81927710843");
    EXPECT_EQ(v.liveZeroVolts, 0.0f);
}

TEST(FormDecode, BeforeFirmware108LeavesTheLiveZeroFieldsAlone) {
    for (float firmware : {0.0f, 1.07f}) {
        FormValues v;
        v.liveZeroVolts = 1.5f;
        v.applyToPayload = 2;
        ShownWeights shown;
        EXPECT_FALSE(DecodeBlock(PatternBlock(), firmware, v, shown).has_value()) << firmware;
        EXPECT_EQ(v.liveZeroVolts, 1.5f);
        EXPECT_EQ(v.applyToPayload, 2);
        EXPECT_EQ(v.emptyLoadThreshold, 1000.0) << "the rest is shown all the same";
    }
}

TEST(FormEncode, TruncatesTowardZeroAndTakesEachByteFromItsValue) {
    FormValues v;
    v.emptyLoadThreshold = 12.9;
    v.tare = -0.5;
    v.ropeDifference = -12.9;
    v.overloadThreshold = 32767.9;
    v.slackRopeThreshold = -32768.9;
    v.fullLoadThreshold = 1600;
    v.fullScaleLoad = 8000;
    v.emptyLoadContact = 1;
    v.fullLoadContact = 0;
    v.overloadContact = -1;
    v.slackRopeContact = 1;
    v.ropeCount = 268; // low byte 12
    v.factor = 99;
    v.liveZeroVolts = 0.7f;
    v.applyToPayload = 1;
    v.sensorType = 3;
    const ParameterBlock stored = PatternBlock();
    const EncodeResult r = EncodeBlock(v, ShownWeights{}, stored);
    ASSERT_FALSE(r.failure);
    const ParameterBlock& b = r.block;
    EXPECT_EQ(b.EmptyLoadThreshold(), 12);
    EXPECT_EQ(b.Tare(), 0);
    EXPECT_EQ(b.RopeDifference(), -12);
    EXPECT_EQ(b.OverloadThreshold(), 32767);
    EXPECT_EQ(b.SlackRopeThreshold(), -32768);
    EXPECT_EQ(b.FullLoadThreshold(), 1600);
    EXPECT_EQ(b.FullScaleLoad(), 8000);
    EXPECT_EQ(b.bytes[14], 1);
    EXPECT_EQ(b.bytes[15], 0);
    EXPECT_EQ(b.bytes[16], 0xFF) << "no button checked is -1";
    EXPECT_EQ(b.bytes[17], 1);
    EXPECT_EQ(b.bytes[18], 12);
    EXPECT_EQ(b.bytes[19], 99);
    EXPECT_EQ(b.bytes[25], 7);
    EXPECT_EQ(b.bytes[26], 1);
    EXPECT_EQ(b.bytes[27], 3);
    for (std::size_t i = 20; i <= 24; ++i)
        EXPECT_EQ(b.bytes[i], stored.bytes[i]) << i;
    for (std::size_t i = 28; i < ParameterBlock::kSize; ++i)
        EXPECT_EQ(b.bytes[i], stored.bytes[i]) << i;
    EXPECT_EQ(r.kilograms[0], 12.9) << "the kilograms as converted";
}

TEST(FormEncode, LiveZeroKeepsTheWholeTenthsAsEntered) {
    struct Case {
        const char* text;
        int tenths;
    };
    for (const Case c :
         {Case{"0.7", 7}, Case{"0.75", 7}, Case{"9.9", 99}, Case{"0.1", 1}, Case{"0.69", 6},
          Case{"0", 0}, Case{"5", 50}, Case{"2.5", 25}, Case{"0.05", 0}, Case{"-0", 0},
          Case{"25.5", 255}, Case{"30", 255}, Case{"-1", 0}}) {
        double entered = 0;
        ASSERT_TRUE(ParseReal(c.text, entered));
        EXPECT_EQ(LiveZeroTenths(static_cast<float>(entered)), c.tenths) << c.text;
    }
    // Every byte the form can hold survives being shown and read back.
    for (int byte = 0; byte <= 99; ++byte) {
        ParameterBlock b;
        b.SetLiveZeroTenths(static_cast<std::uint8_t>(byte));
        FormValues v;
        ShownWeights shown;
        DecodeBlock(b, 1.08f, v, shown);
        double read = 0;
        ASSERT_TRUE(ParseReal(FormatReal(v.liveZeroVolts, kFloatPrecision), read));
        v.liveZeroVolts = static_cast<float>(read);
        EXPECT_EQ(EncodeBlock(v, shown, b).block.bytes[25], byte);
    }
}

TEST(FormEncode, AWeightBeyondTheBlocksRangeIsRefusedWithBoundsInTheDisplayedUnit) {
    const ParameterBlock stored = PatternBlock();
    FormValues v;
    v.tare = 32768.0;
    v.overloadThreshold = -40000.0;
    EncodeResult r = EncodeBlock(v, ShownWeights{}, stored);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->control, form_ids::kTare) << "the first in exchange order";
    EXPECT_EQ(r.failure->lowest, -32768.0);
    EXPECT_EQ(r.failure->highest, 32767.0);

    v = FormValues{};
    v.unit = Pound;
    v.fullScaleLoad = 72246.0; // 32767.3 kg: still fits
    EXPECT_FALSE(EncodeBlock(v, ShownWeights{}, stored).failure);
    v.fullScaleLoad = 72248.0; // 32768.2 kg
    r = EncodeBlock(v, ShownWeights{}, stored);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->control, form_ids::kFullScaleLoad);
    EXPECT_EQ(FormatReal(r.failure->lowest, kDoublePrecision), "-72247.5180722892");
    EXPECT_EQ(FormatReal(r.failure->highest, kDoublePrecision), "72245.3132530121");
    v.fullScaleLoad = 1e300;
    EXPECT_TRUE(EncodeBlock(v, ShownWeights{}, stored).failure);
}

TEST(FormUnits, SwitchExamplesStartFromThePrintedText) {
    FormValues v;
    ShownWeights shown;
    WeightTexts texts;
    texts.text.fill("1000");
    texts.Switch(v, shown, Pound);
    EXPECT_EQ(texts.text[0], "2204.81927710843");
    texts.Switch(v, shown, Kilogram);
    EXPECT_EQ(texts.text[0], "999.999999999998");

    texts.text.fill("1000");
    v.unit = Kilogram;
    texts.Switch(v, shown, ShortTon);
    EXPECT_EQ(texts.text[3], "1.10232558139535");
    texts.text.fill("1000");
    v.unit = Kilogram;
    texts.Switch(v, shown, LongTon);
    EXPECT_EQ(texts.text[6], "0.984210526315789");

    texts.text.fill("1");
    v.unit = ShortTon;
    texts.Read(v, shown);
    ConvertWeights(v, ShortTon, Pound);
    EXPECT_EQ(v.tare, 2000.1525087692544);
    EXPECT_EQ(FormatReal(v.tare, kDoublePrecision), "2000.15250876925");

    texts.text.fill("1000");
    v.unit = Kilogram;
    texts.Switch(v, shown, 7);
    EXPECT_EQ(texts.text[0], "1000") << "any other unit converts as kg";
}

TEST(FormUnits, AnUntouchedWeightWritesTheKilogramsItWasShownFrom) {
    const ParameterBlock read = PatternBlock();
    for (int unit : {ShortTon, LongTon, Pound}) {
        FormValues v;
        v.unit = unit;
        ShownWeights shown;
        WeightTexts texts;
        DecodeBlock(read, 1.08f, v, shown);
        texts.Print(v, shown);
        texts.Read(v, shown);
        EXPECT_EQ(EncodeBlock(v, shown, read).block, read) << "unit " << unit;
    }

    // Through a round of unit switches, the display drifts but the kilograms do not.
    FormValues v;
    ShownWeights shown;
    WeightTexts texts;
    DecodeBlock(read, 1.08f, v, shown);
    texts.Print(v, shown);
    texts.Switch(v, shown, Pound);
    texts.Switch(v, shown, Kilogram);
    EXPECT_EQ(texts.text[0], "999.999999999998");
    texts.Read(v, shown);
    EXPECT_EQ(EncodeBlock(v, shown, read).block.EmptyLoadThreshold(), 1000);

    // An edited field writes what it says, truncated.
    texts.text[0] = "999.999999999998 ";
    texts.Read(v, shown);
    const EncodeResult r = EncodeBlock(v, shown, read);
    EXPECT_EQ(r.block.EmptyLoadThreshold(), 999);
    EXPECT_EQ(r.block.Tare(), -2) << "the others stay exact";
    texts.text[0] = "1000";
    texts.Read(v, shown);
    EXPECT_EQ(EncodeBlock(v, shown, read).block.EmptyLoadThreshold(), 1000);
}

TEST(FormUnits, WithoutTheExactKilogramsLbsWouldLoseOne) {
    // What the rule above guards against: the value as printed, converted back and truncated.
    FormValues v;
    v.unit = Pound;
    ShownWeights shown;
    WeightTexts texts;
    texts.text.fill("2204.81927710843");
    texts.Read(v, shown);
    EXPECT_EQ(EncodeBlock(v, shown, ParameterBlock{}).block.EmptyLoadThreshold(), 999);
}
