#pragma once
#include <string>

namespace tensiq {

// $XDG_DATA_HOME/Tensiq (default ~/.local/share/Tensiq), created 0700 when missing.
// Empty when it cannot be made; callers then skip the file they wanted to write. why names the
// folder that failed and the system's reason.
std::string UserDataFolder();
std::string UserDataFolder(std::string& why);

// A file name inside that folder, or empty when there is no folder.
std::string UserDataFile(const std::string& name);

// A file name inside that folder with no file of that name left from before, so that nothing
// there can pass for what this run writes; empty, with why, when the folder cannot be made or
// the old file cannot be removed.
std::string FreshUserDataFile(const std::string& name, std::string& why);

} // namespace tensiq
