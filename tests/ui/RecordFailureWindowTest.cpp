// A run whose record fails is told in the window's language (run in German and in Chinese).

#include "FileSizeLimit.h"
#include "RunWindowFixture.h"

using namespace tensiq;
using namespace tensiq::test;

using RecordFailureWindow = RunWindowFixture;

TEST_F(RecordFailureWindow, ARecordThatCannotBeWrittenIsToldInTheWindowsLanguage) {
    sim->AddDevice(3, SteadyDevice({100, 200}, 2));
    Open();
    // The record may hold its date line and a few frames, as on a disk that fills up; root is
    // held to the limit too.
    test::FileSizeLimit limit(300);
    dlg->OnStartStop();
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); })) << "the run never ended";
    ASSERT_EQ(boxes.size(), 1u) << BoxTexts();
    const QString created = Localised(res::kStrRecordNotWritten);
    const QString opening = created.left(created.indexOf(QLatin1String("%1")));
    ASSERT_FALSE(opening.isEmpty());
    EXPECT_TRUE(boxes[0].text.startsWith(opening)) << BoxTexts();
    EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(RecordPath()))) << BoxTexts();
    EXPECT_FALSE(boxes[0].text.contains(QLatin1String("The record"))) << BoxTexts();
    EXPECT_EQ(boxes[0].caption, Localised(res::kStrError));
    if (dlg->m_measuring != 0)
        dlg->OnStartStop();
    ExpectState(State::Idle);
}
