#pragma once
#include <string>

namespace tensiq {

// $XDG_DATA_HOME/Tensiq (default ~/.local/share/Tensiq), created 0700 when missing.
// Empty when it cannot be made; callers then skip the file they wanted to write.
std::string UserDataFolder();

// A file name inside that folder, or empty when there is no folder.
std::string UserDataFile(const std::string& name);

} // namespace tensiq
