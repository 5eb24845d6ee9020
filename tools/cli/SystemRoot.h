#pragma once
// Where the checks of ports and doctor read the system: "/" normally; a folder shaped like one
// (dev/, sys/, proc/, etc/, lib/udev/, ...) when TENSIQ_SYSTEM_ROOT names it, so tests can fake
// the devices, services and groups they look at.
#include <optional>
#include <string>
#include <vector>

namespace tensiq::cli {

class SystemRoot {
public:
    explicit SystemRoot(std::string root = {});
    static SystemRoot FromEnvironment();

    // An absolute system path below the root.
    std::string Under(const std::string& path) const;
    bool IsReal() const { return m_root.empty(); }

    // The first line of a file, without its line end; empty when it cannot be read.
    std::optional<std::string> ReadLine(const std::string& path) const;
    bool Exists(const std::string& path) const;
    // Names in a folder, sorted; empty when it cannot be read.
    std::vector<std::string> List(const std::string& folder) const;

    // Process ids in proc/, in order.
    std::vector<int> Processes() const;
    // The program name of a process (its comm); empty when it cannot be read.
    std::string ProgramOf(int pid) const;
    bool IsRunning(const std::string& program) const;

private:
    std::string m_root;
};

} // namespace tensiq::cli
