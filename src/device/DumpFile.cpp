#include "DumpFile.h"

#include "ParameterBlock.h"
#include "UserDataFolder.h"

#include <cstdio>

namespace tensiq {

void WriteDump(const char* name, const std::uint8_t* bytes) {
    const std::string path = UserDataFile(name);
    if (path.empty())
        return;
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (f == nullptr)
        return;
    for (std::size_t line = 0; line < ParameterBlock::kSize / 8; ++line) {
        for (std::size_t i = 0; i < 8; ++i)
            std::fprintf(f, "0x%02X ", bytes[line * 8 + i]);
        std::fprintf(f, "\n");
    }
    std::fclose(f);
}

} // namespace tensiq
