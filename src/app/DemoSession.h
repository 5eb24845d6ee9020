#pragma once
// The demo: the simulated device runs inside the program on ports in a private folder, with a
// silent port and a noisy one in front of it, so discovery is seen at work. The profile and
// the record go to that folder too: a demo never replaces the user's remembered port or last
// measurement. Everything is removed when the session ends, and what a killed demo left is
// removed when the next one starts.

#include <QTemporaryDir>

#include <array>
#include <memory>
#include <string>

namespace tensiq::sim {
class Simulator;
}

namespace tensiq {

inline constexpr int kDemoSilentPort = 1;
inline constexpr int kDemoNoisePort = 2;
inline constexpr int kDemoDevicePort = 3;

class DemoSession {
public:
    // Points TENSIQ_PORT_DIR, the profile and the data folder at a private temporary folder and
    // starts the simulator there; the end puts the user's folders back.
    DemoSession();
    ~DemoSession();
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    bool Ok() const { return m_ok; }
    // Why the session could not be made, for the user; empty when Ok.
    const std::string& Error() const { return m_error; }
    // Folders of earlier demos that were killed, removed before this one began.
    int StaleFoldersRemoved() const { return m_staleRemoved; }
    std::string Folder() const;
    std::string PortFolder() const;

private:
    struct SavedVariable {
        const char* name;
        bool set = false;
        std::string value;
    };
    void Redirect(SavedVariable& saved, const std::string& value);
    static void Restore(const SavedVariable& saved);
    void RestoreFolders();

    std::array<SavedVariable, 3> m_saved{{{"TENSIQ_PORT_DIR", false, {}},
                                          {"XDG_CONFIG_HOME", false, {}},
                                          {"XDG_DATA_HOME", false, {}}}};
    int m_staleRemoved = 0;
    QTemporaryDir m_folder;
    std::unique_ptr<sim::Simulator> m_simulator;
    bool m_ok = false;
    std::string m_error;
};

} // namespace tensiq
