#pragma once
// A demo killed outright (SIGKILL, a crash) cannot remove its folder; the next demo does. The
// folder's name carries the process id of the demo that made it.
#include <string>

namespace tensiq {

// "tensiq-demo-<pid>-XXXXXX" in the temporary folder, for QTemporaryDir.
std::string DemoFolderTemplate(const std::string& tempFolder, long pid);

// Removes this user's demo folders in tempFolder whose demo process is gone; returns how many.
int RemoveStaleDemoFolders(const std::string& tempFolder);

} // namespace tensiq
