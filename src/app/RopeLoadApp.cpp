#include "RopeLoadApp.h"

#include "DeviceLink.h"
#include "LanguageChoice.h"
#include "PlatformResources.h"
#include "RopeLoadDlg.h"
#include "SettingsProfile.h"

#include <QApplication>

namespace tensiq {

CRopeLoadApp::CRopeLoadApp() {
    // Whatever an earlier run found, the variant is unknown until a device is discovered.
    g_ropeDifferenceVariant = 0;
}

CRopeLoadApp::~CRopeLoadApp() = default;

int CRopeLoadApp::InitInstance(const Options& options) {
    ChooseLanguage();
    m_hLanguageLibrary = LanguageLibraryHandle();
    SetResourceModule(CurrentResourceModule());
    {
        SettingsProfile profile; // QSettings("Tensiq", "Tensiq")
        CRopeLoadDlg dlg(nullptr, &profile);
        dlg.SetCaptionSuffix(options.captionSuffix);
        dlg.DoModal();
    }
    return 0; // FALSE
}

int CRopeLoadApp::ExitInstance() {
    // Widgets the window left for later deletion go first: their templates lie in the library.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetResourceModule(nullptr);
    if (m_hLanguageLibrary != nullptr) {
        UnloadLanguageLibrary();
        m_hLanguageLibrary = nullptr;
    }
    return 0;
}

} // namespace tensiq
