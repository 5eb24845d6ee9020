#include "SystemRoot.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tensiq::cli {

namespace fs = std::filesystem;

SystemRoot::SystemRoot(std::string root) : m_root(std::move(root)) {
    while (!m_root.empty() && m_root.back() == '/')
        m_root.pop_back();
}

SystemRoot SystemRoot::FromEnvironment() {
    const char* root = std::getenv("TENSIQ_SYSTEM_ROOT");
    return SystemRoot(root != nullptr ? root : "");
}

std::string SystemRoot::Under(const std::string& path) const {
    return m_root + path;
}

std::optional<std::string> SystemRoot::ReadLine(const std::string& path) const {
    std::ifstream in(Under(path));
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    return line;
}

bool SystemRoot::Exists(const std::string& path) const {
    std::error_code error;
    return fs::exists(Under(path), error);
}

std::vector<std::string> SystemRoot::List(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(Under(folder), error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<int> SystemRoot::Processes() const {
    std::vector<int> pids;
    for (const std::string& name : List("/proc"))
        if (!name.empty() && std::all_of(name.begin(), name.end(), ::isdigit))
            pids.push_back(std::stoi(name));
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::string SystemRoot::ProgramOf(int pid) const {
    return ReadLine("/proc/" + std::to_string(pid) + "/comm").value_or("");
}

bool SystemRoot::IsRunning(const std::string& program) const {
    const auto pids = Processes();
    return std::any_of(pids.begin(), pids.end(),
                       [&](int pid) { return ProgramOf(pid) == program; });
}

} // namespace tensiq::cli
