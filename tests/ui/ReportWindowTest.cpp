// The report from the window: measure, run the assistant, end it, and write the report through
// the details, save and message seams.
#include "ReportDetailsDlg.h"
#include "RunTool.h"
#include "RunWindowFixture.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <filesystem>

using namespace tensiq;
using namespace tensiq::test;
namespace fs = std::filesystem;

namespace {

class ReportWindow : public RunWindowFixture {
protected:
    void SetUp() override {
        RunWindowFixture::SetUp();
        m_files = std::make_unique<ScopedSaveFileHandler>([this](const SaveFileRequest& r) {
            requests.push_back(r);
            return chosen;
        });
        m_details = std::make_unique<ScopedReportDetailsHandler>([this](ReportDetails& d) {
            proposed.push_back(d);
            if (!answerDetails)
                return false;
            d = {QStringLiteral("Hauptstraße 5"), QStringLiteral("A2"), QStringLiteral("M. Muster"),
                 QStringLiteral("Seil 2 nachgestellt")};
            return true;
        });
        folder = Root() + "/reports";
        fs::create_directories(folder);
    }
    void TearDown() override {
        m_details.reset();
        m_files.reset();
        RunWindowFixture::TearDown();
    }

    // Three ropes, an allowed rope difference of 5 kg (the block's word, wire order).
    sim::DeviceConfig ThreeRopes(std::vector<std::int16_t> readings) const {
        sim::DeviceConfig c = SteadyDevice(std::move(readings), 3);
        c.block[12] = 0;
        c.block[13] = 5;
        return c;
    }

    bool EntryEnabled() {
        QMenu menu;
        return dlg->AddReportEntry(menu)->isEnabled();
    }

    void SetReadings(std::vector<std::int16_t> readings) {
        sim->With<sim::DeviceModel>(3, [&](sim::DeviceModel& d) {
            for (std::size_t k = 0; k < readings.size(); ++k)
                d.Config().readings[k] = readings[k];
        });
    }

    // Measures 100/110/90, then runs the assistant until the bars show the loads left.
    void MeasureAndEqualise(std::vector<std::int16_t> left) {
        MeasureOnce({100, 110, 90});
        EXPECT_FALSE(EntryEnabled()) << "nothing left yet";
        answers = {IDOK};
        dlg->OnAssistant();
        ASSERT_EQ(dlg->Context().assistantActive.load(), 1) << BoxTexts();
        SetReadings(left);
        AwaitFrames();
        ASSERT_TRUE(PumpUntil([&] {
            for (std::size_t k = 0; k < left.size(); ++k)
                if (dlg->m_bars[k].GetPos() != left[k])
                    return false;
            return true;
        }));
        // Enough frames of the loads left to fill the steady window on their own.
        const long now = dlg->Acquisition()->FrameCount();
        ASSERT_TRUE(
            PumpUntil([&] { return dlg->Acquisition()->FrameCount() >= now + 250; }, 10000));
    }

    std::string Text(const std::string& pdf) {
        const ToolResult r = RunTool("pdftotext " + pdf + " -");
        EXPECT_EQ(r.status, 0) << r.out;
        return r.out;
    }

    std::vector<SaveFileRequest> requests;
    std::vector<ReportDetails> proposed;
    QString chosen;
    bool answerDetails = true;
    std::string folder;

private:
    std::unique_ptr<ScopedSaveFileHandler> m_files;
    std::unique_ptr<ScopedReportDetailsHandler> m_details;
};

} // namespace

TEST_F(ReportWindow, MeasureEqualiseEndAndReport) {
    sim->AddDevice(3, ThreeRopes({100, 110, 90}));
    Open();
    EXPECT_FALSE(EntryEnabled());
    MeasureAndEqualise({100, 101, 99});
    EXPECT_TRUE(EntryEnabled()) << "the assistant's own run is the one left";
    dlg->OnAssistant(); // ends it
    ASSERT_EQ(dlg->Context().assistantActive.load(), 0);
    EXPECT_TRUE(EntryEnabled());

    const std::string pdf = folder + "/report.pdf";
    chosen = QString::fromStdString(pdf);
    boxes.clear();
    dlg->OnReport();
    EXPECT_TRUE(boxes.empty()) << BoxTexts();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].filter.contains("*.pdf"));
    EXPECT_TRUE(requests[0].flags & OFN_OVERWRITEPROMPT);
    ASSERT_TRUE(fs::exists(pdf));
    std::string text = Text(pdf);
    for (const char* expected : {"BESTANDEN", "Hauptstraße 5", "M. Muster", "COM3", "110.0", "90.0",
                                 "101.0", "99.0", "report-found.txt", "report-left.txt"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("NICHT BESTANDEN"), std::string::npos) << text;
    EXPECT_NE(RunTool("pdfdetach -list " + pdf).out.find("2 embedded files"), std::string::npos);

    // Site and technician are proposed again; the lift and the remark are asked each time.
    const std::string csv = folder + "/report.csv";
    chosen = QString::fromStdString(csv);
    dlg->OnReport();
    ASSERT_EQ(proposed.size(), 2u);
    EXPECT_EQ(proposed[1].site, QStringLiteral("Hauptstraße 5"));
    EXPECT_EQ(proposed[1].technician, QStringLiteral("M. Muster"));
    EXPECT_TRUE(proposed[1].lift.isEmpty());
    EXPECT_NE(ReadFile(csv).find("2,110.0,10.00,"), std::string::npos) << ReadFile(csv);
}

TEST_F(ReportWindow, AFailureIsToldAndWritesNothing) {
    sim->AddDevice(3, ThreeRopes({100, 110, 90}));
    Open();
    MeasureAndEqualise({100, 110, 90});
    // A report asked during the assistant takes its run so far as the one left.
    answerDetails = false;
    dlg->OnReport();
    EXPECT_TRUE(requests.empty()) << "cancelled details ask for no file";

    answerDetails = true;
    const std::string pdf = folder + "/missing/report.pdf";
    chosen = QString::fromStdString(pdf);
    dlg->OnReport();
    ASSERT_EQ(boxes.size(), 2u) << BoxTexts(); // the warning, then the failure
    EXPECT_TRUE(boxes[1].text.contains(QString::fromStdString(pdf))) << BoxTexts();
    EXPECT_EQ(boxes[1].type, MB_OK | MB_ICONHAND);
    EXPECT_FALSE(fs::exists(pdf));

    chosen = QString::fromStdString(folder + "/report.pdf");
    dlg->OnReport();
    EXPECT_NE(Text(folder + "/report.pdf").find("NICHT BESTANDEN"), std::string::npos);
}
