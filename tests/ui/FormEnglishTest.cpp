// Run with the English library as the only one beside the language folder the main chooses.
#include "FormWindowFixture.h"
#include "LanguageChoice.h"

using namespace tensiq;
using namespace tensiq::test;

using FormWindowEnglishTest = FormWindowTest;

TEST_F(FormWindowEnglishTest, VariantCaptionsInEnglish) {
    ASSERT_EQ(LanguageCode(), kLanguageEnglish);
    OpenWithDevice();
    Read();
    EXPECT_EQ(Label(1013), "Rope difference");
    EXPECT_EQ(Label(1011), "Slack rope and rope difference relay");
    EXPECT_EQ(Label(1006), "Empty load relay");
    dlg->m_comPort = -1;
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().identification = "Lc1.10"; });
    Read();
    EXPECT_EQ(Label(1013), "min. load per rope");
    EXPECT_EQ(Label(1011), "Slack rope relay");
    EXPECT_EQ(Label(1006), "Rope difference relay");
}

TEST_F(FormWindowEnglishTest, RangeMessageComesFromTheEnglishLibrary) {
    ASSERT_EQ(LanguageCode(), kLanguageEnglish);
    Open();
    Type(1018, "13");
    EXPECT_EQ(dlg->UpdateData(TRUE), FALSE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.back().text, "Please enter an integer between 1 and 12.");
}
