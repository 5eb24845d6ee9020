#include "RopeLoadApp.h"

#include "CurrentResourceModule.h"
#include "DeviceLink.h"
#include "LanguageByLocale.h"
#include "LanguageChoice.h"
#include "LocalisedString.h"
#include "ResourceIds.h"
#include "RopeLoadDlg.h"
#include "SettingsProfile.h"
#include "SystemTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace tensiq {

CRopeLoadApp::CRopeLoadApp() {
    // Whatever an earlier run found, the variant is unknown until a device is discovered.
    g_ropeDifferenceVariant = 0;
}

CRopeLoadApp::~CRopeLoadApp() = default;

void CRopeLoadApp::ChooseStartupLanguage(const Options& options) {
    if (options.language == 0)
        ChooseLanguage();
    else
        ChooseLanguageFor(options.language);
    for (const std::string& note : LanguageChoiceNotes())
        std::fprintf(stderr, "tensiq: %s\n", note.c_str());
    if (options.language != 0 && LanguageCode() != options.language &&
        LanguageLibraryBesideProgram())
        std::fprintf(stderr,
                     "tensiq: the language library beside the program (%s) decides the "
                     "language; --language %s does not apply\n",
                     LanguageLibraryPath().c_str(), LanguageName(options.language).data());
    m_hLanguageLibrary = LanguageLibraryHandle();
    std::string why;
    if (!InstallSystemTexts(LanguageCode(), &why))
        std::fprintf(stderr, "tensiq: dialog buttons stay English: %s\n", why.c_str());
}

int CRopeLoadApp::PrintLanguage(const Options& options) {
    ChooseStartupLanguage(options);
    const std::string library = LanguageLibraryPath();
    std::printf("language: %s\n", LanguageName(LanguageCode()).data());
    std::printf("resources: %s\n",
                library.empty() ? "the program's own (German)" : library.c_str());
    {
        SettingsProfile profile;
        CRopeLoadDlg dlg(nullptr, &profile);
        if (!dlg.Create()) {
            std::fprintf(stderr, "tensiq: the main window's template is missing\n");
            return 1;
        }
        const auto* read = qobject_cast<const QAbstractButton*>(dlg.GetDlgItem(ctl::kRead));
        QString text = read != nullptr ? read->text() : QString();
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::printf("window: %s\n", dlg.windowTitle().toUtf8().constData());
        std::printf("read button: %s\n", text.toUtf8().constData());
        std::printf("total: %s\n",
                    LoadLocalisedString(res::kStrTotal, CurrentResourceModule()).c_str());
    }
    return 0;
}

int CRopeLoadApp::InitInstance() {
    return InitInstance(Options());
}

int CRopeLoadApp::InitInstance(const Options& options) {
    ChooseStartupLanguage(options);
    {
        SettingsProfile profile; // QSettings("Tensiq", "Tensiq")
        CRopeLoadDlg dlg(nullptr, &profile);
        dlg.SetCaptionSuffix(options.captionSuffix);
        if (!options.openFiles.isEmpty())
            QTimer::singleShot(0, &dlg, [&dlg, &options] { dlg.OpenRecords(options.openFiles); });
        dlg.DoModal();
    }
    return 0; // FALSE
}

int CRopeLoadApp::ExitInstance() {
    // Widgets the window left for later deletion go first: their templates lie in the library.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (m_hLanguageLibrary != nullptr) {
        UnloadLanguageLibrary();
        m_hLanguageLibrary = nullptr;
    }
    return 0;
}

} // namespace tensiq
