#pragma once
// The application: chooses the language, names the profile, runs the main window modally and
// unloads the language library once no widget that used it is left.

#include <QString>
#include <QStringList>

#include <memory>

namespace tensiq {

class Profile;

class CRopeLoadApp {
public:
    struct Options {
        // Appended to the window's caption; a demo says so.
        QString captionSuffix;
        // Asked for by --language (1 German, 2 English, 3 Chinese); 0: the user's locale.
        int language = 0;
        // Records to open in viewer windows beside the main window (--open).
        QStringList openFiles = {};
    };

    CRopeLoadApp();
    ~CRopeLoadApp();
    CRopeLoadApp(const CRopeLoadApp&) = delete;
    CRopeLoadApp& operator=(const CRopeLoadApp&) = delete;

    // Runs the window to its end; always FALSE: there is no message loop after it.
    int InitInstance();
    int InitInstance(const Options& options);
    // Unloads the language library; the exit status.
    int ExitInstance();

    // The language step of InitInstance: a library beside the program, else the language asked
    // for from the program's private library folder.
    void ChooseStartupLanguage(const Options& options);
    // For --print-language: the start-up's language step, then the main window built (not
    // shown) and what it came out in printed. The exit status.
    int PrintLanguage(const Options& options);

    void* m_hLanguageLibrary = nullptr;
};

} // namespace tensiq
