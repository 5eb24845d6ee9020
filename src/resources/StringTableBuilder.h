#pragma once
// Builds the string blocks of a module from a plain list of (id, text) at compile time, so the
// data reads like a string table and a misplaced slot cannot happen.

#include "ResourceModule.h"

#include <array>
#include <cstddef>

namespace tensiq::res {

struct StringEntry {
    unsigned id;
    const char* text;
};

constexpr unsigned BlockNumberOf(unsigned id) {
    return (id / 16 + 1) & 0xFFFFu;
}

template <std::size_t N> constexpr std::size_t CountBlocks(const StringEntry (&entries)[N]) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < N; ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) {
            if (entries[j].id == entries[i].id)
                throw "duplicate string id"; // a compile error in a constant expression
            if (BlockNumberOf(entries[j].id) == BlockNumberOf(entries[i].id))
                seen = true;
        }
        if (!seen)
            ++count;
    }
    return count;
}

template <std::size_t Blocks, std::size_t N>
constexpr std::array<StringBlock, Blocks> MakeStringTable(const StringEntry (&entries)[N]) {
    std::array<StringBlock, Blocks> blocks{};
    std::size_t used = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const unsigned number = BlockNumberOf(entries[i].id);
        std::size_t b = 0;
        while (b < used && blocks[b].number != number)
            ++b;
        if (b == used) {
            blocks[b].number = number;
            for (auto& t : blocks[b].texts)
                t = nullptr;
            ++used;
        }
        blocks[b].texts[entries[i].id % 16] = entries[i].text;
    }
    return blocks;
}

} // namespace tensiq::res
