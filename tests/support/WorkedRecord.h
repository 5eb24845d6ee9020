#pragma once
#include <string>

namespace tensiq::test {

// A record of ten frames whose range statistics are worked out by hand: over frames 2-9 rope 1
// goes 2, 4, 4, 4, 5, 5, 7, 9 (mean 5, standard deviation 2), rope 2 stays 100, rope 4 110, the
// rest 0. Frames 1 and 10 lie outside that range and would change every figure.
inline std::string WorkedRecord() {
    std::string text = "07.12.2026 22:01:12\n";
    auto line = [&](int rope1) { text += std::to_string(rope1) + ";100;0;110;0;0;0;0;0;0;0;0;\n"; };
    line(1000);
    for (int v : {2, 4, 4, 4, 5, 5, 7, 9})
        line(v);
    line(-1000);
    return text;
}

} // namespace tensiq::test
