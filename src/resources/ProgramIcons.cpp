// Icons 128 to 138 as 16-colour pixel art, one character per pixel: the standard 16-colour
// palette k m g o n p t s d R G Y B M C W (black, maroon, green, olive, navy, purple, teal, silver,
// grey, red, lime, yellow, blue, magenta, cyan, white); '.' is transparent.

#include "ProgramIcons.h"

#include <array>
#include <cstdint>
#include <iterator>

namespace tensiq::res {

namespace {

constexpr char kPaletteChars[] = "kmgonptsdRGYBMCW";
constexpr std::uint32_t kPalette[16] = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

template <int W, int H> struct Pixmap {
    std::array<std::uint8_t, W * H> pixels{};
    std::array<std::uint8_t, W * H> mask{};
};

// Throws, and so fails to compile, on a row of the wrong length or an unknown colour.
template <int W, int H> constexpr Pixmap<W, H> Parse(const char* const (&rows)[H]) {
    Pixmap<W, H> out;
    for (int y = 0; y < H; ++y) {
        int x = 0;
        for (; rows[y][x] != '\0'; ++x) {
            if (x >= W)
                throw "icon row too long";
            const char c = rows[y][x];
            const int i = y * W + x;
            if (c == '.') {
                out.mask[i] = 1;
                continue;
            }
            int p = 0;
            while (p < 16 && kPaletteChars[p] != c)
                ++p;
            if (p == 16)
                throw "unknown colour";
            out.pixels[i] = static_cast<std::uint8_t>(p);
        }
        if (x != W)
            throw "icon row too short";
    }
    return out;
}

template <int W, int H> constexpr IconImage ImageOf(const Pixmap<W, H>& pixmap) {
    IconImage image{W, H, {}, pixmap.pixels.data(), pixmap.mask.data()};
    for (int i = 0; i < 16; ++i)
        image.palette[i] = kPalette[i];
    return image;
}

// 128: the program's logo: ropes holding a loaded car
// clang-format off
constexpr const char* kIcon128Rows[32] = {
    "................................",
    "....kkkkkkkkkkkkkkkkkkkkkkkk....",
    "..kknnnnnnnnnnnnnnnnnnnnnnnnkk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    ".knnnkkkkkkkkkkkkkkkkkkkkkknnnk.",
    ".knnnkssssssssssssssssssssknnnk.",
    ".knnnkkkkkkkkkkkkkkkkkkkkkknnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnnnnWWnnnWWnnnWWnnnnnnnnk.",
    ".knnnnnkkkkkkkkkkkkkkkkkknnnnnk.",
    ".knnnnnkYYYYYYYYYYYYYYYYknnnnnk.",
    ".knnnnnkYYYYYYYYYYYYYYYYknnnnnk.",
    ".knnnnnkYYRRRRRRRRRRRRYYknnnnnk.",
    ".knnnnnkYYRRRRRRRRRRRRYYknnnnnk.",
    ".knnnnnkYYRRRRRRRRRRRRYYknnnnnk.",
    ".knnnnnkYYRRRRRRRRRRRRYYknnnnnk.",
    ".knnnnnkYYYYYYYYYYYYYYYYknnnnnk.",
    ".knnnnnkYYYYYYYYYYYYYYYYknnnnnk.",
    ".knnnnnkkkkkkkkkkkkkkkkkknnnnnk.",
    ".knnnnnnnnnnnnnnnnnnnnnnnnnnnnk.",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..kknnnnnnnnnnnnnnnnnnnnnnnnkk..",
    "....kkkkkkkkkkkkkkkkkkkkkkkk....",
    "................................",
};
// clang-format on
constexpr auto kIcon128 = Parse<32, 32>(kIcon128Rows);

// 128, small: the logo again for title bars
// clang-format off
constexpr const char* kLogo16Rows[16] = {
    "...kkkkkkkkkk...",
    ".kknnnnnnnnnnkk.",
    ".kkkkkkkkkkkkkk.",
    "knkkkWkkkkWkkknk",
    "knnnnWnnnnWnnnnk",
    "knnnnWnnnnWnnnnk",
    "knnnnWnnnnWnnnnk",
    "knnnnWnnnnWnnnnk",
    "knnkkkkkkkkkknnk",
    "knnkYYYYYYYYknnk",
    "knnkYRRRRRRYknnk",
    "knnkYRRRRRRYknnk",
    "knnkYYYYYYYYknnk",
    ".knkkkkkkkkkknk.",
    ".kknnnnnnnnnnkk.",
    "...kkkkkkkkkk...",
};
// clang-format on
constexpr auto kLogo16 = Parse<16, 16>(kLogo16Rows);

// 129: a pencil writing on a sheet
// clang-format off
constexpr const char* kIcon129Rows[32] = {
    "................................",
    "................................",
    "...kkkkkkkkkkkkkkkkkkk..........",
    "...kWWWWWWWWWWWWWWWWWk......k...",
    "...kWWWWWWWWWWWWWWWWWk.....kMk..",
    "...kWWWWWWWWWWWWWWWWWk....kYkMk.",
    "...kWWWWWWWWWWWWWWWWWk...kYYYk..",
    "...kWWdddddddddddddWWk..kYYYk...",
    "...kWWWWWWWWWWWWWWWWWk.kYYYk....",
    "...kWWWWWWWWWWWWWWWWWkkYYYk.....",
    "...kWWWWWWWWWWWWWWWWWkYYYk......",
    "...kWWdddddddddddddWkYYYk.......",
    "...kWWWWWWWWWWWWWWWkYYYk........",
    "...kWWWWWWWWWWWWWWkYYYk.........",
    "...kWWWWWWWWWWWWWkYYYk..........",
    "...kWWddddddddddkYYYkk..........",
    "...kWWWWWWWWWWWkYYYkWk..........",
    "...kWWWWWWWWWWkYYYkWWk..........",
    "...kWWWWWWWWWkYYYkWWWk..........",
    "...kWWddddddkYYYkddWWk..........",
    "...kWWWWWWWkYYYkWWWWWk..........",
    "...kWWWWWWWkkYkWWWWWWk..........",
    "...kWWWWWWkskkWWWWWWWk..........",
    "...kWWWWWWkkkWWWWWWWWk..........",
    "...kWWWWWkkWWWWWWWWWWk..........",
    "...kBBBBWkWWWWWWWWWWWk..........",
    "...BBWWWWWWWWWWWWWWWWk..........",
    "...BWWWWWWWWWWWWWWWWWk..........",
    "...kkkkkkkkkkkkkkkkkkk..........",
    "................................",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon129 = Parse<32, 32>(kIcon129Rows);

// 130: a red cross
// clang-format off
constexpr const char* kIcon130Rows[32] = {
    "................................",
    "................................",
    "................................",
    "................................",
    ".....mmmm..............mmmm.....",
    "....mRRRRm............mRRRRm....",
    "....mRRRRRm..........mRRRRRm....",
    "....mRRRRRRm........mRRRRRRm....",
    "....mRRRRRRRm......mRRRRRRRm....",
    ".....mRRRRRRRm....mRRRRRRRm.....",
    "......mRRRRRRRm..mRRRRRRRm......",
    ".......mRRRRRRRmmRRRRRRRm.......",
    "........mRRRRRRRRRRRRRRm........",
    ".........mRRRRRRRRRRRRm.........",
    "..........mRRRRRRRRRRm..........",
    "...........mRRRRRRRRm...........",
    "...........mRRRRRRRRm...........",
    "..........mRRRRRRRRRRm..........",
    ".........mRRRRRRRRRRRRm.........",
    "........mRRRRRRRRRRRRRRm........",
    ".......mRRRRRRRmmRRRRRRRm.......",
    "......mRRRRRRRm..mRRRRRRRm......",
    ".....mRRRRRRRm....mRRRRRRRm.....",
    "....mRRRRRRRm......mRRRRRRRm....",
    "....mRRRRRRm........mRRRRRRm....",
    "....mRRRRRm..........mRRRRRm....",
    "....mRRRRm............mRRRRm....",
    ".....mmmm..............mmmm.....",
    "................................",
    "................................",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon130 = Parse<32, 32>(kIcon130Rows);

// 131: a pair of glasses
// clang-format off
constexpr const char* kIcon131Rows[32] = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".k............................k.",
    ".k............................k.",
    ".kk..........................kk.",
    ".kk..........................kk.",
    ".kk..........................kk.",
    "..k..........................k..",
    "..k...kkkkkk........kkkkkk...k..",
    "..kkkkkCCCCkkk....kkkCCCCkkkkk..",
    "..kkkCCWWCCCCkk..kkCCWWCCCCkkk..",
    "...kCCWWCCCCCCkkkkCCWWCCCCCCk...",
    "..kkCCCCCCCCCCkkkkCCCCCCCCCCkk..",
    "..kCCCCCCCCCCCCkkCCCCCCCCCCCCk..",
    "..kCCCCCCCCCCCCkkCCCCCCCCCCCCk..",
    "..kCCCCCCCCCCCCkkCCCCCCCCCCCCk..",
    "..kCCCCCCCCCCCCkkCCCCCCCCCCCCk..",
    "..kkCCCCCCCCCCkkkkCCCCCCCCCCkk..",
    "...kCCCCCCCCCCk..kCCCCCCCCCCk...",
    "...kkCCCCCCCCkk..kkCCCCCCCCkk...",
    "....kkkCCCCkkk....kkkCCCCkkk....",
    "......kkkkkk........kkkkkk......",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon131 = Parse<32, 32>(kIcon131Rows);

// 132: a wizard's hat with a wand
// clang-format off
constexpr const char* kIcon132Rows[32] = {
    "................................",
    "................................",
    "............nn..................",
    "............nn..................",
    "............nBn.................",
    "...........nBBn.................",
    "...........nBBBn................",
    "..........nBBBBn................",
    "..........nBBBBBn...........YY..",
    "..........nYYBBBn..........YYYY.",
    ".........nYYYYBBBn........YYYYYY",
    ".........YYYYYYBBn........YYYYYY",
    "........nYYYYYYBBn.........YYYY.",
    "........nBYYYYBBBBn.........YY..",
    "........nBBYYBBBBBn........WW...",
    ".......nBBBBBBBBBBBn.......WW...",
    ".......nBBBBBBBBBBBn......WW....",
    ".......nBBBBBBBYYYYBn.....WW....",
    "......nBBBBBBBBYYYYBn....kk.....",
    "......nBBBBBBBBYYYYBBn...kk.....",
    ".....nBBBBBBBBBYYYYBBn..kk......",
    ".....nBBBBBBBBBBBBBBBBn.kk......",
    ".....kkkkkkkkkkkkkkkkkkkk.......",
    "..kkknnnnnnnnnnnnnnnnnnkkk......",
    ".knnnnnnnnnnnnnnnnnnnnkknnk.....",
    ".knnnnnnnnnnnnnnnnnnnnkknnk.....",
    "..kkknnnnnnnnnnnnnnnnkkkkk......",
    ".....kkkkkkkkkkkkkkkkkk.........",
    "....................kk..........",
    "....................kk..........",
    "...................kk...........",
    "...................kk...........",
};
// clang-format on
constexpr auto kIcon132 = Parse<32, 32>(kIcon132Rows);

// 133: a red triangle pointing right in a circle
// clang-format off
constexpr const char* kIcon133Rows[32] = {
    "................................",
    "............kkkkkkkk............",
    ".........kkksssssssskkk.........",
    "........ksssWWWWWWWWsssk........",
    "......kkssWWWWWWWWWWWWsskk......",
    ".....kssWWWWWWWWWWWWWWWWssk.....",
    "....kssWWWWWWWWWWWWWWWWWWssk....",
    "....ksWWWWWWWWWWWWWWWWWWWWsk....",
    "...ksWWWWWWmWWWWWWWWWWWWWWWsk...",
    "..kssWWWWWWmmmWWWWWWWWWWWWWssk..",
    "..ksWWWWWWWmRRmWWWWWWWWWWWWWsk..",
    "..ksWWWWWWWmRRRmmWWWWWWWWWWWsk..",
    ".ksWWWWWWWWmRRRRRmmWWWWWWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRmmWWWWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRRRRmmWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRRRRmmWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWWmRRRRRRRmmWWWWWWWWsk.",
    ".ksWWWWWWWWmRRRRRmmWWWWWWWWWWsk.",
    "..ksWWWWWWWmRRRmmWWWWWWWWWWWsk..",
    "..ksWWWWWWWmRRmWWWWWWWWWWWWWsk..",
    "..kssWWWWWWmmmWWWWWWWWWWWWWssk..",
    "...ksWWWWWWmWWWWWWWWWWWWWWWsk...",
    "....ksWWWWWWWWWWWWWWWWWWWWsk....",
    "....kssWWWWWWWWWWWWWWWWWWssk....",
    ".....kssWWWWWWWWWWWWWWWWssk.....",
    "......kkssWWWWWWWWWWWWsskk......",
    "........ksssWWWWWWWWsssk........",
    ".........kkksssssssskkk.........",
    "............kkkkkkkk............",
    "................................",
};
// clang-format on
constexpr auto kIcon133 = Parse<32, 32>(kIcon133Rows);

// 134: a red square in a circle
// clang-format off
constexpr const char* kIcon134Rows[32] = {
    "................................",
    "............kkkkkkkk............",
    ".........kkksssssssskkk.........",
    "........ksssWWWWWWWWsssk........",
    "......kkssWWWWWWWWWWWWsskk......",
    ".....kssWWWWWWWWWWWWWWWWssk.....",
    "....kssWWWWWWWWWWWWWWWWWWssk....",
    "....ksWWWWWWWWWWWWWWWWWWWWsk....",
    "...ksWWWWWWWWWWWWWWWWWWWWWWsk...",
    "..kssWWWWWWWWWWWWWWWWWWWWWWssk..",
    "..ksWWWWWWmmmmmmmmmmmmWWWWWWsk..",
    "..ksWWWWWWmRRRRRRRRRRmWWWWWWsk..",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    ".ksWWWWWWWmRRRRRRRRRRmWWWWWWWsk.",
    "..ksWWWWWWmRRRRRRRRRRmWWWWWWsk..",
    "..ksWWWWWWmmmmmmmmmmmmWWWWWWsk..",
    "..kssWWWWWWWWWWWWWWWWWWWWWWssk..",
    "...ksWWWWWWWWWWWWWWWWWWWWWWsk...",
    "....ksWWWWWWWWWWWWWWWWWWWWsk....",
    "....kssWWWWWWWWWWWWWWWWWWssk....",
    ".....kssWWWWWWWWWWWWWWWWssk.....",
    "......kkssWWWWWWWWWWWWsskk......",
    "........ksssWWWWWWWWsssk........",
    ".........kkksssssssskkk.........",
    "............kkkkkkkk............",
    "................................",
};
// clang-format on
constexpr auto kIcon134 = Parse<32, 32>(kIcon134Rows);

// 135: a grey arrow pointing right
// clang-format off
constexpr const char* kIcon135Rows[32] = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".................k..............",
    ".................kk.............",
    ".................kdk............",
    ".................kddk...........",
    ".................kdddk..........",
    ".................kddddk.........",
    ".................kdddddk........",
    "...kkkkkkkkkkkkkkdddddddk.......",
    "...kssssssssssssssdddddddk......",
    "...kddddddddddddddddddddddk.....",
    "...kdddddddddddddddddddddddk....",
    "...kdddddddddddddddddddddddk....",
    "...kddddddddddddddddddddddk.....",
    "...kdddddddddddddddddddddk......",
    "...kkkkkkkkkkkkkkdddddddk.......",
    ".................kdddddk........",
    ".................kddddk.........",
    ".................kdddk..........",
    ".................kddk...........",
    ".................kdk............",
    ".................kk.............",
    ".................k..............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon135 = Parse<32, 32>(kIcon135Rows);

// 136: blue vertical bars
// clang-format off
constexpr const char* kIcon136Rows[32] = {
    "................................",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    ".kWWWWWWWWWWWWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWWWWWWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWnnnnWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWWWWWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWnnnWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWnBnWWWWWWWk.",
    ".kWWWWWWWnBBnWWWWWWWnBnWWWWWWWk.",
    ".kWWnnnnWnBBnWWWWWWWnBnWWWWWWWk.",
    ".kWWnBBnWnBBnWWWWWWWnBnWWWWWWWk.",
    ".kWWnBBnWnBBnWWWWWWWnBnWWWWWWWk.",
    ".kWWnBBnWnBBnWWWWWWWnBnWWnnnWWk.",
    ".kWWnBBnWnBBnWWWWWWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWWWWWWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnnnnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnBBnWnBBnWnBBnWWnBnWWnBnWWk.",
    ".kWWnnnnWnnnnWnnnnWWnnnWWnnnWWk.",
    ".kWWWWWWWWWWWWWWWWWWWWWWWWWWWWk.",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    "................................",
};
// clang-format on
constexpr auto kIcon136 = Parse<32, 32>(kIcon136Rows);

// 137: three coloured lines in a frame
// clang-format off
constexpr const char* kIcon137Rows[32] = {
    "................................",
    "................................",
    "................................",
    ".dddddddddddddddddddddddddddddd.",
    ".dkkkkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkkkkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkkkkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkkkkkkkkkkkkkkkkkYYkkkkkkkkkd.",
    ".dkkkkkkGGkkkkkkkkkYYYkkkkkkkkd.",
    ".dkkkkkkGGGGkkkkkkYYYYYkkkkYYkd.",
    ".dkkkkkGGkGGGGkkkkYkkYYYkkYYYkd.",
    ".dkkkkGGkkkkGGGGkYYkkkYYYYYYkkd.",
    ".dkkkkGGkkkkkkGGYYkkkkkYYYYkkkd.",
    ".dkkkGGkYYkkkkkGGYkkkkkkYYkkkkd.",
    ".dkkkGGkYYYkkkkYGkkkkkkkkkkGGkd.",
    ".dkkGGkYYkYYkkkYGGkkCCkkkkGGGkd.",
    ".dkGGkYYkkkYYkYYkGGkCCCCkGGGkkd.",
    ".dkGGkYYkkkkYYYkkGGCCkCCGGGkkkd.",
    ".dkkkYYkkkkkkYYkkkGGkkkGGGCCCkd.",
    ".dkkkYYkkCCkkkkkkCCGkkGGGkkCCkd.",
    ".dkkYYkkCCCCkkkkCCkGGGGGkkkkkkd.",
    ".dkYYkkCCkkCCCkCCkkkGGGkkkkkkkd.",
    ".dkYYkCCkkkkkCCCkkkkGGkkkkkkkkd.",
    ".dkkkCCkkkkkkkCCkkkkkkkkkkkkkkd.",
    ".dkCCCkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkCCkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkkkkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dkkkkkkkkkkkkkkkkkkkkkkkkkkkkd.",
    ".dddddddddddddddddddddddddddddd.",
    "................................",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon137 = Parse<32, 32>(kIcon137Rows);

// 138: a floppy disk
// clang-format off
constexpr const char* kIcon138Rows[32] = {
    "................................",
    "................................",
    "..kkkkkkkkkkkkkkkkkkkkkkkk......",
    "..knnnnnkssssssssssssssknnk.....",
    "..knnnnnksssssssssnnnssknnnk....",
    "..knnnnnksssssssssnnnssknnnnk...",
    "..knnnnnksssssssssnnnssknnnnnk..",
    "..knnnnnksssssssssnnnssknnnnnk..",
    "..knnnnnksssssssssnnnssknnnnnk..",
    "..knnnnnksssssssssnnnssknnnnnk..",
    "..knnnnnkssssssssssssssknnnnnk..",
    "..knnnnnkkkkkkkkkkkkkkkknnnnnk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..knnnnnnnnnnnnnnnnnnnnnnnnnnk..",
    "..knnnkkkkkkkkkkkkkkkkkkkknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWBBBBBBBBBBBBBBBBWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWBBBBBBBBBBBBBBBBWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWBBBBBBBBBBBBBBBBWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..knnnkWWWWWWWWWWWWWWWWWWknnnk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "................................",
    "................................",
};
// clang-format on
constexpr auto kIcon138 = Parse<32, 32>(kIcon138Rows);

constexpr IconImage kLogoImages[] = {ImageOf(kIcon128), ImageOf(kLogo16)};
constexpr IconImage kImages129[] = {ImageOf(kIcon129)};
constexpr IconImage kImages130[] = {ImageOf(kIcon130)};
constexpr IconImage kImages131[] = {ImageOf(kIcon131)};
constexpr IconImage kImages132[] = {ImageOf(kIcon132)};
constexpr IconImage kImages133[] = {ImageOf(kIcon133)};
constexpr IconImage kImages134[] = {ImageOf(kIcon134)};
constexpr IconImage kImages135[] = {ImageOf(kIcon135)};
constexpr IconImage kImages136[] = {ImageOf(kIcon136)};
constexpr IconImage kImages137[] = {ImageOf(kIcon137)};
constexpr IconImage kImages138[] = {ImageOf(kIcon138)};

} // namespace

const Icon kProgramIcons[kProgramIconCount] = {
    {128, kLogoImages, std::size(kLogoImages)}, {129, kImages129, std::size(kImages129)},
    {130, kImages130, std::size(kImages130)},   {131, kImages131, std::size(kImages131)},
    {132, kImages132, std::size(kImages132)},   {133, kImages133, std::size(kImages133)},
    {134, kImages134, std::size(kImages134)},   {135, kImages135, std::size(kImages135)},
    {136, kImages136, std::size(kImages136)},   {137, kImages137, std::size(kImages137)},
    {138, kImages138, std::size(kImages138)},
};

} // namespace tensiq::res
