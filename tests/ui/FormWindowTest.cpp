#include "FieldFormat.h"
#include "FormWindowFixture.h"
#include "ResourceIds.h"
#include "RopeLoadDlgProbe.h"
#include "WeightUnit.h"

#include <QApplication>

using namespace tensiq;
using namespace tensiq::test;

namespace {
int Upper(const CRopeBarCtrl& bar) {
    int lower = -1, upper = -1;
    bar.GetRange(lower, upper);
    return upper;
}
const QString kRangeRopes =
    QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 12 ein.");
const QString kWritten = QStringLiteral("Die Parameter wurden erfolgreich geschrieben");
} // namespace

// --- Opening ---

TEST_F(FormWindowTest, OpensWithTheDefaultsAndWritingDisabled) {
    Open();
    EXPECT_FALSE(dlg->m_writeButton.isEnabled());
    for (int id : {1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(Text(1018), "12");
    EXPECT_EQ(Text(1043), "1");
    for (int id : {1005, 1003, 1014, 1010, 1012, 1008, 1016, 1067})
        EXPECT_EQ(Text(id), "0") << id;
    EXPECT_TRUE(Checked(1051)) << "kg";
    EXPECT_TRUE(Checked(1063)) << "sensor A";
    EXPECT_FALSE(Checked(1061));
    EXPECT_FALSE(Checked(1062));
}

// --- Reading ---

TEST_F(FormWindowTest, ReadFillsTheFormWithTheDevicesBlockAndEnablesWriting) {
    OpenWithDevice();
    Read();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(dlg->m_writeButton.isEnabled());
    EXPECT_EQ(dlg->m_parametersRead, 1);
    EXPECT_EQ(dlg->StoredBlock(), DeviceBlock());
    EXPECT_EQ(Text(1016), "8000");
    EXPECT_EQ(Text(1003), "1250");
    EXPECT_EQ(Text(1005), "150");
    EXPECT_EQ(Text(1008), "5200");
    EXPECT_EQ(Text(1010), "6300");
    EXPECT_EQ(Text(1012), "40");
    EXPECT_EQ(Text(1014), "120");
    EXPECT_TRUE(Checked(1020)) << "empty load: make contact";
    EXPECT_TRUE(Checked(1021));
    EXPECT_TRUE(Checked(1023));
    EXPECT_TRUE(Checked(1026));
    EXPECT_EQ(Text(1018), "12");
    EXPECT_EQ(Text(1043), "1");
    EXPECT_EQ(Text(1067), "2") << "live zero 20";
    EXPECT_TRUE(Checked(1061));
    EXPECT_TRUE(Checked(1062));
    EXPECT_TRUE(Checked(1065)) << "sensor C";
    EXPECT_FALSE(dlg->m_link.IsOpen()) << "the link is closed after the read";
}

TEST_F(FormWindowTest, LiveZeroByteShowsAsVoltsAndChecksTheBox) {
    AddDevice();
    Open();
    ParameterBlock b = DeviceBlock();
    b.SetLiveZeroTenths(25);
    SetDeviceBlock(b);
    Read();
    EXPECT_EQ(Text(1067), "2.5");
    EXPECT_TRUE(Checked(1061));
    b.SetLiveZeroTenths(0);
    SetDeviceBlock(b);
    Read();
    EXPECT_EQ(Text(1067), "0");
    EXPECT_FALSE(Checked(1061));
}

TEST_F(FormWindowTest, BelowFirmware108TheLiveZeroFieldsStayButAWriteStillFillsThem) {
    OpenWithDevice("L 1.07");
    ParameterBlock b = DeviceBlock();
    b.SetLiveZeroTenths(0);
    b.SetApplyToPayload(0);
    SetDeviceBlock(b);
    dlg->m_form.liveZeroVolts = 3.3f;
    dlg->m_form.applyToPayload = 1;
    dlg->UpdateData(FALSE);
    Button(1061)->setChecked(true);
    Read();
    EXPECT_EQ(Text(1067), "3.3") << "the device's 0 V is not shown";
    EXPECT_TRUE(Checked(1061));
    EXPECT_TRUE(Checked(1062)) << "untouched, whatever the device holds";
    EXPECT_EQ(Text(1003), "1250") << "the rest is shown";
    Type(1067, "0");
    Button(1062)->setChecked(false);
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().LiveZeroTenths(), 0) << "from the form, not from the device";
    EXPECT_EQ(DeviceBlock().ApplyToPayload(), 0);
    Type(1067, "1.5");
    Button(1062)->setChecked(true);
    Write();
    EXPECT_EQ(DeviceBlock().LiveZeroTenths(), 15);
    EXPECT_EQ(DeviceBlock().ApplyToPayload(), 1);
}

TEST_F(FormWindowTest, VariantCaptionsInGerman) {
    OpenWithDevice();
    Read();
    EXPECT_EQ(Label(1013), "erlaubte Seildifferenz");
    EXPECT_EQ(Label(1011), "Schlaffseil und Seildiff. Relais");
    EXPECT_EQ(Label(1006), "Leerlast Relais");
    g_ropeDifferenceVariant = 0;
    dlg->m_comPort = -1;
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().identification = "LC1.10"; });
    Read();
    EXPECT_EQ(g_ropeDifferenceVariant, 1);
    EXPECT_EQ(Label(1013), "min. Gewicht pro Seil");
    EXPECT_EQ(Label(1011), "Schlaffseil Relais");
    EXPECT_EQ(Label(1006), "erlaubte Seildifferenz Relais");
}

TEST_F(FormWindowTest, NoDeviceShowsTheConnectionMessage) {
    Open();
    Read();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(LastBox().text, "Verbindung zum Tensiq nicht vorhanden!\n\n„tensiq-cli doctor“ in "
                              "einem Terminal nennt die üblichen Ursachen und ihre Abhilfe.");
    EXPECT_EQ(LastBox().caption, "Fehler");
    EXPECT_EQ(LastBox().type, MB_ICONHAND);
    EXPECT_FALSE(dlg->m_writeButton.isEnabled());
    EXPECT_EQ(dlg->m_comPort, -1);
}

// --- Checks of the fields ---

TEST_F(FormWindowTest, RangeAndParseMessagesCarryTheirBoundsAndFocusTheField) {
    OpenWithDevice();
    Read();
    const int stored = BlocksStored();
    struct Case {
        int id;
        const char* entry;
        QString text;
        UINT type;
    };
    const Case cases[] = {
        {1018, "13", kRangeRopes, MB_ICONEXCLAMATION},
        {1043, "0", "Geben Sie bitte eine ganze Zahl zwischen 1 und 99 ein.", MB_ICONEXCLAMATION},
        {1067, "10", "Geben Sie bitte eine Zahl zwischen 0 und 9.9 ein.", MB_ICONEXCLAMATION},
        {1003, "12,5", "Geben Sie bitte eine Zahl ein.", MB_OK},
        {1018, "-1", "Geben Sie bitte eine positive ganze Zahl ein.", MB_OK},
        {1016, "40000", "Geben Sie bitte eine Zahl zwischen -32768 und 32767 ein.",
         MB_ICONEXCLAMATION},
    };
    for (const Case& c : cases) {
        const QString before = Text(c.id);
        boxes.clear();
        Type(c.id, c.entry);
        Write();
        ASSERT_EQ(boxes.size(), 1u) << c.entry;
        EXPECT_EQ(LastBox().text, c.text) << c.entry;
        EXPECT_EQ(LastBox().type, c.type) << c.entry;
        EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(c.id)) << c.entry;
        Type(c.id, before);
    }
    EXPECT_EQ(BlocksStored(), stored) << "nothing reached the device";
    EXPECT_EQ(dlg->StoredBlock(), DeviceBlock());
}

TEST_F(FormWindowTest, AFailingFieldStopsTheExchangeThere) {
    Open();
    Type(1005, "11"); // 1: before the failure
    Type(1003, "22"); // 2
    Type(1018, "13"); // 4: fails its range, keeps what was entered
    Type(1010, "33"); // 5: after it
    EXPECT_EQ(dlg->UpdateData(TRUE), FALSE);
    EXPECT_EQ(dlg->m_form.emptyLoadThreshold, 11.0);
    EXPECT_EQ(dlg->m_form.tare, 22.0);
    EXPECT_EQ(dlg->m_form.ropeCount, 13u);
    EXPECT_EQ(dlg->m_form.overloadThreshold, 0.0);

    Type(1018, "12");
    Type(1014, "x"); // 3: does not parse, keeps its old value
    Type(1005, "44");
    EXPECT_EQ(dlg->UpdateData(TRUE), FALSE);
    EXPECT_EQ(dlg->m_form.emptyLoadThreshold, 44.0);
    EXPECT_EQ(dlg->m_form.ropeDifference, 0.0);
    EXPECT_EQ(dlg->m_form.ropeCount, 13u) << "not reached";
    EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(1014));

    Type(1014, "5");
    Button(1019)->setChecked(true);
    EXPECT_EQ(dlg->UpdateData(TRUE), TRUE);
    EXPECT_EQ(dlg->m_form.emptyLoadContact, 0);
    EXPECT_EQ(dlg->m_form.fullLoadContact, -1) << "no radio checked";
    EXPECT_EQ(dlg->m_form.overloadThreshold, 33.0);
}

TEST_F(FormWindowTest, CheckBoxValuesAreTheFrameworksAndOthersShowUnchecked) {
    Open();
    dlg->m_form.applyToPayload = 2;
    dlg->UpdateData(FALSE);
    EXPECT_EQ(qobject_cast<QCheckBox*>(Button(1062))->checkState(), Qt::PartiallyChecked);
    dlg->m_form.applyToPayload = 5;
    dlg->UpdateData(FALSE);
    EXPECT_EQ(qobject_cast<QCheckBox*>(Button(1062))->checkState(), Qt::Unchecked);
    Button(1062)->setChecked(true);
    EXPECT_EQ(dlg->UpdateData(TRUE), TRUE);
    EXPECT_EQ(dlg->m_form.applyToPayload, 1);
}

TEST_F(FormWindowTest, TextBeyond31CharactersIsReadWithItsFirst31) {
    Open();
    Type(1003, QString(31, '1') + "x");
    EXPECT_EQ(dlg->UpdateData(TRUE), TRUE);
    EXPECT_EQ(dlg->m_form.tare, 1111111111111111111111111111111.0);
}

// --- Writing ---

TEST_F(FormWindowTest, ReadEditWriteAndTheDeviceHoldsExactlyTheEdit) {
    OpenWithDevice();
    Read();
    ParameterBlock expected = DeviceBlock();
    Type(1003, "1300");
    Type(1018, "6");
    Button(1019)->setChecked(true);
    Button(1066)->setChecked(true);
    Write();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(LastBox().caption, "Hinweis");
    EXPECT_EQ(LastBox().type, MB_ICONINFORMATION);
    EXPECT_TRUE(Eventually([&] { return Confirmations() == 1; })) << "verified and confirmed";
    expected.SetTare(1300);
    expected.SetRopeCount(6);
    expected.SetEmptyLoadContact(0);
    expected.SetSensorType(3);
    ParameterBlock device = DeviceBlock();
    expected.SetChecksum();
    EXPECT_EQ(device, expected);
}

TEST_F(FormWindowTest, WeightsAreTruncatedAndLiveZeroKeepsItsTenths) {
    OpenWithDevice();
    Read();
    Type(1005, "12.9");
    Type(1003, "-0.5");
    Type(1067, "0.7");
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().EmptyLoadThreshold(), 12);
    EXPECT_EQ(DeviceBlock().Tare(), 0);
    EXPECT_EQ(DeviceBlock().LiveZeroTenths(), 7);
    EXPECT_EQ(Text(1005), "12") << "the form shows what was written";
    EXPECT_EQ(Text(1003), "0");
    Read();
    EXPECT_EQ(Text(1067), "0.7");
}

TEST_F(FormWindowTest, ASuccessfulWriteShowsTheWrittenBlockInTheDisplayedUnit) {
    OpenWithDevice();
    Read();
    Click(1060);
    Type(1003, "1000");
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().Tare(), 453) << "1000 lbs, truncated";
    EXPECT_EQ(Text(1003), QString::fromStdString(FormatReal(453 * unit_constants::kKgToPound, 15)));
    EXPECT_EQ(Text(1003), "998.783132530121");
    EXPECT_TRUE(Checked(1060));
}

TEST_F(FormWindowTest, WritingBeforeAnyReadIsRefused) {
    OpenWithDevice();
    EXPECT_FALSE(dlg->m_writeButton.isEnabled());
    dlg->OnWriteParameters();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(LastBox().text, "Die Parameter wurden noch nicht ausgelesen!");
    EXPECT_EQ(BlocksStored(), 0);
    EXPECT_EQ(dlg->m_comPort, 1) << "the port was looked for first";
}

// --- Weight units ---

// The conversions themselves are FormUnits' examples; here the radios reach every weight edit.
TEST_F(FormWindowTest, UnitSwitchesConvertTheWeightsFromTheirText) {
    Open();
    Type(1005, "1000");
    Type(1016, "500");
    Click(1060);
    EXPECT_EQ(Text(1005), "2204.81927710843");
    EXPECT_EQ(Text(1016), "1102.40963855422");
    EXPECT_EQ(Edit(1005)->cursorPosition(), 0) << "the narrow edit shows the leading digits";
    Click(1051);
    EXPECT_EQ(Text(1005), "999.999999999998");
}

TEST_F(FormWindowTest, UnitSwitchSetsLabelsFactorBarsAndProfile) {
    Open();
    Click(1060);
    for (int id : {1054, 1055, 1056, 1057, 1058, 1059, 1050})
        EXPECT_EQ(Label(id), "lbs") << id;
    EXPECT_EQ(dlg->m_context.Snapshot().unitFactor, 2.2048192771084336);
    EXPECT_EQ(dlg->m_context.Snapshot().unitText, "lbs");
    for (CRopeBarCtrl& bar : dlg->m_bars)
        EXPECT_EQ(Upper(bar), 2204);
    EXPECT_EQ(profile.GetInt("Settings", "Unit", -1), 3);
    Click(1053);
    EXPECT_EQ(Upper(dlg->m_bars[0]), 0);
    Click(1052);
    EXPECT_EQ(Upper(dlg->m_bars[11]), 1);
    Click(1051);
    EXPECT_EQ(Upper(dlg->m_bars[5]), 1000);
    EXPECT_EQ(Label(1050), "kg");

    const int writes = profile.Writes();
    Click(1051);
    EXPECT_EQ(profile.Writes(), writes) << "the unit already shown changes nothing";
}

TEST_F(FormWindowTest, TheUnitChosenInOneSessionIsAppliedShortlyAfterTheNextOpens) {
    Open();
    Click(1060);
    dlg.reset();
    Open();
    EXPECT_EQ(Label(1058), "kg") << "not yet";
    ASSERT_TRUE(QTest::qWaitFor([&] { return Label(1058) == "lbs"; }, 2000));
    EXPECT_TRUE(Checked(1060));
    EXPECT_FALSE(dlg->TimerRunning(kUnitTimer));
}

TEST_F(FormWindowTest, AStoredSevenBehavesAsKgWithNoRadioAndIsWrittenBack) {
    profile.WriteInt("Settings", "Unit", 7);
    const int writes = profile.Writes();
    Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return profile.Writes() > writes; }, 2000));
    EXPECT_EQ(profile.GetInt("Settings", "Unit", -1), 7);
    EXPECT_EQ(dlg->m_form.unit, 7);
    for (int id : {1051, 1052, 1053, 1060})
        EXPECT_FALSE(Checked(id)) << id;
    EXPECT_EQ(Label(1059), "kg");
    EXPECT_EQ(dlg->Context().Snapshot().unitFactor, 1.0);
    EXPECT_EQ(Upper(dlg->m_bars[0]), 1000);
}

// --- Mends ---

TEST_F(FormWindowTest, ReadSwitchWriteUntouchedLeavesTheDeviceBlockByteForByte) {
    AddDevice();
    Open();
    ParameterBlock original = DeviceBlock();
    original.SetEmptyLoadThreshold(1000); // 2204.81927710843 lbs, which would write 999
    original.SetTare(-1);
    original.SetChecksum();
    SetDeviceBlock(original);
    for (int radio : {1060, 1052, 1053}) {
        Click(1051);
        Read();
        Click(radio);
        Write();
        EXPECT_EQ(LastBox().text, kWritten) << radio;
        EXPECT_EQ(DeviceBlock(), original) << radio;
    }
}

TEST_F(FormWindowTest, AFailedReadKeepsTheLastGoodBlockForTheNextWrite) {
    OpenWithDevice();
    Read();
    const ParameterBlock good = dlg->StoredBlock();
    ParameterBlock changed = DeviceBlock();
    changed.bytes[40] ^= 0xFF;
    changed.bytes[21] ^= 0xFF;
    SetDeviceBlock(changed);
    sim::DeviceFaults f;
    f.wrongTerminator = true;
    SetFaults(f);
    Read();
    EXPECT_EQ(LastBox().text, "Auslesen der Parameter nicht möglich!");
    EXPECT_EQ(dlg->StoredBlock(), good);
    SetFaults({});
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().bytes[40], good.bytes[40]);
    EXPECT_EQ(DeviceBlock().bytes[21], good.bytes[21]);
}

TEST_F(FormWindowTest, AFailedReadOrWriteClosesTheLinkSoARetryStartsClean) {
    OpenWithDevice();
    Read();
    sim::DeviceFaults f;
    f.wrongEcho = true; // the device still sends the block after its wrong echo
    SetFaults(f);
    Read();
    EXPECT_EQ(LastBox().text, "Auslesen der Parameter nicht möglich!");
    EXPECT_FALSE(dlg->m_link.IsOpen());
    EXPECT_EQ(dlg->m_comPort, -1) << "a failed read forgets the port";
    SetFaults({});
    Write();
    EXPECT_EQ(LastBox().text, kWritten);

    SetFaults(f); // now in the write's read-back
    Type(1003, "1111");
    Write();
    EXPECT_EQ(LastBox().text, "Schreiben der Parameter nicht möglich!");
    EXPECT_FALSE(dlg->m_link.IsOpen());
    EXPECT_EQ(dlg->m_comPort, -1) << "a failed write forgets the port";
    SetFaults({});
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().Tare(), 1111);
}

// --- Device commands ---

namespace {
// Sees the cursor at the moment discovery remembers the port, inside the command.
class CursorWatchingProfile : public MemoryProfile {
public:
    bool WriteInt(const std::string& section, const std::string& entry, int value) override {
        if (entry == "LastTQFound")
            sawWaitCursor = QGuiApplication::overrideCursor() != nullptr &&
                            QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        return MemoryProfile::WriteInt(section, entry, value);
    }
    bool sawWaitCursor = false;
};
} // namespace

TEST_F(FormWindowTest, TheWaitCursorShowsWhileADeviceCommandRuns) {
    AddDevice();
    sim->Start();
    CursorWatchingProfile watching;
    dlg = std::make_unique<test::RopeLoadDlgProbe>(nullptr, &watching);
    ASSERT_TRUE(dlg->Create());
    Read();
    EXPECT_TRUE(watching.sawWaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "and is gone after it";
    Type(1018, "13");
    Write();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FormWindowTest, ImageButtonsSayHurraOrMistInAPlainBox) {
    OpenWithDevice();
    Click(1049);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(LastBox().text, "Mist") << "no image read yet";
    EXPECT_EQ(LastBox().caption, QApplication::applicationName());
    EXPECT_EQ(LastBox().type, MB_OK);
    Click(1048);
    EXPECT_EQ(boxes.size(), 1u) << "the read says nothing";
    EXPECT_TRUE(dlg->m_link.HasImage());
    Click(1049);
    EXPECT_EQ(LastBox().text, "Hurra");
    EXPECT_FALSE(dlg->m_link.IsOpen());
    EXPECT_TRUE(Button(1048)->isHidden());
}

// --- Locale ---

TEST_F(FormWindowTest, TheWholeFormKeepsItsPointUnderAGermanLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "scripts/setup generates the de_DE.UTF-8 locale";
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    AddDevice();
    Open();
    ParameterBlock b = DeviceBlock();
    b.SetLiveZeroTenths(25);
    SetDeviceBlock(b);
    Read();
    EXPECT_EQ(Text(1067), "2.5") << "firmware 1.08 read as such, volts printed with a point";
    Type(1005, "1000");
    Click(1060);
    EXPECT_EQ(Text(1005), "2204.81927710843");
    Click(1051);
    Type(1005, "12.9");
    Type(1067, "0.7");
    Write();
    EXPECT_EQ(LastBox().text, kWritten);
    EXPECT_EQ(DeviceBlock().EmptyLoadThreshold(), 12);
    EXPECT_EQ(DeviceBlock().LiveZeroTenths(), 7);
    Type(1067, "0,7");
    Write();
    EXPECT_EQ(LastBox().text, "Geben Sie bitte eine Zahl ein.");

    QLocale::setDefault(previous);
    std::setlocale(LC_ALL, before.c_str());
}
