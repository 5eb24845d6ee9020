#pragma once
#include <cstddef>
#include <string>

namespace tensiq::cli {

// Reads a file the user named, after checking what it is: a folder, a device such as
// /dev/zero, a pipe or a file larger than maxSize is refused before anything is read.
// False with a reason that names the file.
bool ReadInputFile(const std::string& path, std::size_t maxSize, std::string& data,
                   std::string& error);

} // namespace tensiq::cli
