#include "LocalisedString.h"

#include "StringTableBuilder.h"

namespace tensiq {

namespace {

// Byte length of the first max characters of a UTF-8 text; a character is a lead byte with its
// continuation bytes, so a cut never splits one.
std::size_t PrefixBytes(const char* text, std::size_t max) {
    std::size_t bytes = 0;
    std::size_t chars = 0;
    while (text[bytes] != '\0') {
        if ((static_cast<unsigned char>(text[bytes]) & 0xC0) != 0x80) {
            if (chars == max)
                break;
            ++chars;
        }
        ++bytes;
    }
    return bytes;
}

} // namespace

std::string LoadLocalisedString(unsigned id, const res::ResourceModule* module) {
    if (module == nullptr)
        return "Error loading resource.";
    const res::StringBlock* block = res::FindStringBlock(module, res::BlockNumberOf(id));
    if (block == nullptr)
        return {};
    const char* text = block->texts[id % 16];
    if (text == nullptr)
        return {};
    return std::string(text, PrefixBytes(text, kMaxLocalisedStringLength));
}

} // namespace tensiq
