#pragma once
// A language library is looked at before the dynamic loader maps it: a file cut short (a broken
// copy, a full disk during an install) would fault the program when the loader touched a page
// past its end, instead of failing to load.

#include <string>

namespace tensiq {

// Why the file at path must not be loaded, in a few words; empty when it may. It must be a
// regular file holding an ELF shared object of this program's kind whose headers and loadable
// segments all lie within the file.
std::string LibraryFileProblem(const std::string& path);

} // namespace tensiq
