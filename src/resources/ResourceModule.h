#pragma once
// A resource module as data: what the program carries itself (German) and what each language
// library returns from its one exported function. Every resource is looked up by id.

#include <cstddef>
#include <cstdint>

namespace tensiq::res {

// Sixteen string ids share one block; block number = id / 16 + 1, slot = id % 16.
// Texts are UTF-8; nullptr marks an id the module does not carry.
struct StringBlock {
    unsigned number;
    const char* texts[16];
};

// A 16-colour image: palette entries are 0xAARRGGBB, pixels are palette indices, rows top-down.
// mask (may be nullptr) holds 1 for every transparent pixel.
struct IconImage {
    int width;
    int height;
    std::uint32_t palette[16];
    const std::uint8_t* pixels;
    const std::uint8_t* mask;
};

struct Icon {
    unsigned id;
    const IconImage* images;
    std::size_t imageCount;
};

struct DialogTemplate; // DialogTemplate.h

struct ResourceModule {
    const StringBlock* stringBlocks;
    std::size_t stringBlockCount;
    const DialogTemplate* dialogs;
    std::size_t dialogCount;
    const Icon* icons;
    std::size_t iconCount;
};

// The one function a language library exports, under this unmangled name.
using ModuleEntry = const ResourceModule* (*)();
inline constexpr const char* kModuleEntryName = "tensiq_resource_module";

const Icon* FindIcon(const ResourceModule* module, unsigned id);
const StringBlock* FindStringBlock(const ResourceModule* module, unsigned number);

} // namespace tensiq::res
