#pragma once
// The main window against a simulated device, with every message box answered and recorded.

#include "DeviceLink.h"
#include "ParameterBlock.h"
#include "Profile.h"
#include "RopeLoadDlg.h"
#include "RopeLoadDlgProbe.h"
#include "SimulatorFixture.h"
#include "UserDialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tensiq::test {

class FormWindowTest : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        g_ropeDifferenceVariant = 0;
        m_boxes = std::make_unique<ScopedMessageBoxHandler>([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
    }
    void TearDown() override {
        dlg.reset();
        m_boxes.reset();
        g_ropeDifferenceVariant = 0;
        SimulatorFixture::TearDown();
    }

    // A device at COM1; block bytes in host form are put into its memory in wire form.
    sim::DeviceModel& AddDevice(const std::string& identification = "L 1.08") {
        return sim->AddDevice(1, Device(identification));
    }
    void Open() {
        if (!m_started)
            sim->Start();
        m_started = true;
        dlg = std::make_unique<test::RopeLoadDlgProbe>(nullptr, &profile);
        ASSERT_TRUE(dlg->Create());
    }
    void OpenWithDevice(const std::string& identification = "L 1.08") {
        AddDevice(identification);
        Open();
    }

    ParameterBlock DeviceBlock() {
        ParameterBlock b;
        WithDevice(1, [&](sim::DeviceModel& d) {
            std::copy(d.Config().block.begin(), d.Config().block.end(), b.bytes.begin());
        });
        b.SwapWords();
        return b;
    }
    void SetDeviceBlock(ParameterBlock b) {
        b.SwapWords();
        WithDevice(1, [&](sim::DeviceModel& d) {
            std::copy(b.bytes.begin(), b.bytes.end(), d.Config().block.begin());
        });
    }
    int BlocksStored() {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().blocksStored; });
        return n;
    }
    int Confirmations() {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().confirmations; });
        return n;
    }
    void SetFaults(const sim::DeviceFaults& faults) {
        WithDevice(1, [&](sim::DeviceModel& d) { d.Config().faults = faults; });
    }

    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(dlg->GetDlgItem(id)); }
    QString Text(int id) { return Edit(id)->text(); }
    void Type(int id, const QString& text) { Edit(id)->setText(text); }
    QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(dlg->GetDlgItem(id)); }
    bool Checked(int id) { return Button(id)->isChecked(); }
    QString Label(int id) { return qobject_cast<QLabel*>(dlg->GetDlgItem(id))->text(); }
    void Click(int id) { Button(id)->click(); }
    void Read() { dlg->m_readButton.click(); }
    void Write() { dlg->m_writeButton.click(); }

    const MessageBoxRequest& LastBox() const { return boxes.back(); }

    MemoryProfile profile;
    std::vector<MessageBoxRequest> boxes;
    std::unique_ptr<test::RopeLoadDlgProbe> dlg;

private:
    std::unique_ptr<ScopedMessageBoxHandler> m_boxes;
    bool m_started = false;
};

} // namespace tensiq::test
