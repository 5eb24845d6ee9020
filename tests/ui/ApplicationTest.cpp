// Start-up and shut-down: the variant flag cleared, the window run modally over the chosen
// language, and the language library unloaded once no window is left.

#include "CurrentResourceModule.h"
#include "DeviceLink.h"
#include "LanguageChoice.h"
#include "ResourceIds.h"
#include "RopeLoadApp.h"
#include "RopeLoadDlg.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tensiq;

namespace {

int WindowsLeft() {
    int n = 0;
    for (QWidget* w : QApplication::allWidgets())
        if (qobject_cast<CDialog*>(w) != nullptr)
            ++n;
    return n;
}

} // namespace

// Runs last in its own process: it unloads the language library.
TEST(Application, StartsTheWindowModallyAndUnloadsTheLanguageOnlyAfterIt) {
    g_ropeDifferenceVariant = 1;
    CRopeLoadApp app;
    EXPECT_EQ(g_ropeDifferenceVariant, 0);
    EXPECT_EQ(app.m_hLanguageLibrary, nullptr);

    QString title;
    bool modal = false;
    bool moduleShared = false;
    QTimer::singleShot(50, [&] {
        auto* dlg = qobject_cast<CRopeLoadDlg*>(QApplication::activeModalWidget());
        if (dlg == nullptr)
            return;
        modal = dlg->isModal();
        title = dlg->windowTitle();
        moduleShared =
            dlg->Template() == res::FindDialog(CurrentResourceModule(), res::kMainDialog);
        if (auto* quit = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(ctl::kQuit)))
            quit->click();
    });
    EXPECT_EQ(app.InitInstance({QStringLiteral(" – Demo")}), 0);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(title.endsWith(QStringLiteral(" – Demo")));
    EXPECT_TRUE(moduleShared);
    EXPECT_NE(LanguageCode(), kLanguageUnchosen);
    const bool hadLibrary = LanguageLibraryHandle() != nullptr;
    EXPECT_EQ(app.m_hLanguageLibrary, LanguageLibraryHandle());

    EXPECT_EQ(WindowsLeft(), 0);
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(LanguageLibraryHandle(), nullptr);
    if (hadLibrary) {
        EXPECT_EQ(CurrentResourceModule(), nullptr);
    }
}
