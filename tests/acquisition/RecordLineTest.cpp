// The record line built in one buffer must be byte for byte what twelve printf("%d;") and a
// newline write.
#include "RecordLine.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

using namespace tensiq;

namespace {

std::string Printed(const std::array<int, kRopes>& loads) {
    std::string line;
    char field[16];
    for (const int load : loads) {
        std::snprintf(field, sizeof field, "%d;", load);
        line += field;
    }
    return line + "\n";
}

std::array<int, kRopes> All(int load) {
    std::array<int, kRopes> loads;
    loads.fill(load);
    return loads;
}

} // namespace

TEST(RecordLine, EveryLoadAsPrintfWritesIt) {
    const std::array<std::array<int, kRopes>, 7> cases = {{
        All(0),
        All(-1),
        All(INT_MIN), // the longest line there is
        All(INT_MAX),
        All(32767 * 99), // the largest reading times the largest factor
        {0, -1, 1, 9, 10, 99, 100, -10, -99, 123456, INT_MIN, INT_MAX},
        {7, 70, 700, 7000, 70000, 700000, 7000000, 70000000, 700000000, -7, -70000, 32767},
    }};
    for (const auto& loads : cases) {
        RecordLineBuffer buffer;
        buffer.fill('#');
        EXPECT_EQ(std::string(FormatRecordLine(loads, buffer)), Printed(loads));
    }
}

// Every load a device and factor give, and their negatives, in every position of the line: the
// short numbers take another path than the long ones, and a number's spare bytes must never
// show in the line.
TEST(RecordLine, EveryShortLoadInEveryPosition) {
    RecordLineBuffer buffer;
    for (int v = -12000; v <= 120000; ++v) {
        std::array<int, kRopes> loads;
        for (int k = 0; k < kRopes; ++k)
            loads[k] = k % 2 == 0 ? v / (k + 1) : v + k;
        const std::string_view line = FormatRecordLine(loads, buffer);
        const std::string expected = Printed(loads);
        if (line != expected) {
            ADD_FAILURE() << line << " instead of " << expected;
            break;
        }
    }
}
