#pragma once
// The application: chooses the language, names the profile, runs the main window modally and
// unloads the language library once no widget that used it is left.

#include <QString>

#include <memory>

namespace tensiq {

class Profile;

class CRopeLoadApp {
public:
    struct Options {
        // Appended to the window's caption; a demo says so.
        QString captionSuffix;
    };

    CRopeLoadApp();
    ~CRopeLoadApp();
    CRopeLoadApp(const CRopeLoadApp&) = delete;
    CRopeLoadApp& operator=(const CRopeLoadApp&) = delete;

    // Runs the window to its end; always FALSE: there is no message loop after it.
    int InitInstance(const Options& options = {});
    // Unloads the language library; the exit status.
    int ExitInstance();

    void* m_hLanguageLibrary = nullptr;
};

} // namespace tensiq
