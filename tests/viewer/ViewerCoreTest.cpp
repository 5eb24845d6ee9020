#include "CsvExport.h"
#include "Decimation.h"
#include "RangeStatistics.h"
#include "RecordColumns.h"
#include "RunTool.h"
#include "SimulatorFixture.h"

#include <clocale>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace tensiq;

namespace {

using Loads = std::array<std::int32_t, kRecordRopes>;

Loads Uniform(std::int32_t value) {
    Loads loads;
    loads.fill(value);
    return loads;
}

RecordColumns RandomRecord(std::int64_t frames, unsigned seed) {
    RecordColumns record;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::int32_t> load(-50, 5000);
    for (std::int64_t f = 0; f < frames; ++f) {
        Loads loads;
        for (auto& l : loads)
            l = load(random);
        // Lone spikes that a decimation taking every n-th frame would lose.
        if (f % 997 == 13)
            loads[f % kRecordRopes] = 2000000000;
        record.Append(loads);
    }
    return record;
}

} // namespace

TEST(RecordColumns, HoldEveryLoadAndTheTotalAndFindTheExtremesOfAnyRange) {
    const RecordColumns record = RandomRecord(5000, 1);
    ASSERT_EQ(record.Frames(), 5000);
    std::mt19937 random(2);
    for (int trial = 0; trial < 400; ++trial) {
        std::int64_t a = random() % 5001, b = random() % 5001;
        if (a > b)
            std::swap(a, b);
        const int series = static_cast<int>(random() % kSeriesCount);
        std::int64_t lo = INT64_MAX, hi = INT64_MIN;
        for (std::int64_t f = a; f < b; ++f) {
            std::int64_t v = 0;
            if (series == kTotalSeries)
                for (int r = 0; r < kRecordRopes; ++r)
                    v += record.Value(r, f);
            else
                v = record.Value(series, f);
            EXPECT_EQ(record.Value(series, f), v);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        const ValueRange range = record.Extent(series, a, b);
        if (a == b) {
            EXPECT_TRUE(range.Empty());
            continue;
        }
        EXPECT_EQ(range.min, lo) << a << ".." << b << " series " << series;
        EXPECT_EQ(range.max, hi) << a << ".." << b << " series " << series;
    }
}

TEST(Decimation, EveryPixelColumnKeepsTheMinimumAndMaximumOfItsFrames) {
    const RecordColumns record = RandomRecord(20000, 3);
    for (const auto& [first, count, columns] :
         std::vector<std::tuple<std::int64_t, std::int64_t, int>>{{0, 20000, 997},
                                                                  {0, 20000, 1},
                                                                  {133, 7001, 640},
                                                                  {19000, 1000, 1000},
                                                                  {5, 100, 400}}) {
        for (int series : {0, 7, kTotalSeries}) {
            const auto out = Decimate(record, series, first, count, columns);
            ASSERT_EQ(out.size(), static_cast<std::size_t>(columns));
            std::int64_t covered = 0;
            for (int c = 0; c < columns; ++c) {
                const std::int64_t from = first + count * c / columns;
                const std::int64_t to = first + count * (c + 1) / columns;
                covered += to - from;
                if (from == to) {
                    EXPECT_TRUE(out[c].Empty());
                    continue;
                }
                std::int64_t lo = INT64_MAX, hi = INT64_MIN;
                for (std::int64_t f = from; f < to; ++f) {
                    lo = std::min(lo, record.Value(series, f));
                    hi = std::max(hi, record.Value(series, f));
                }
                EXPECT_EQ(out[c].min, lo) << c;
                EXPECT_EQ(out[c].max, hi) << c;
            }
            EXPECT_EQ(covered, count) << "every frame falls into exactly one column";
        }
    }
}

TEST(RangeStatistics, MatchWorkedExamples) {
    // Rope 1: 2, 4, 4, 4, 5, 5, 7, 9 -> mean 5, population std 2.
    // Rope 2: 100 throughout; rope 3 always 0 (left out of the spread); rope 4: 110;
    // ropes 5-12: 0.
    RangeStatistics stats;
    for (std::int32_t v : {2, 4, 4, 4, 5, 5, 7, 9}) {
        Loads loads{};
        loads[0] = v;
        loads[1] = 100;
        loads[3] = 110;
        stats.Add(loads);
    }
    const RangeSummary s = stats.Summary();
    EXPECT_EQ(s.frames, 8);
    EXPECT_DOUBLE_EQ(s.ropes[0].mean, 5.0);
    EXPECT_DOUBLE_EQ(s.ropes[0].std, 2.0);
    EXPECT_EQ(s.ropes[0].min, 2);
    EXPECT_EQ(s.ropes[0].max, 9);
    EXPECT_DOUBLE_EQ(s.ropes[1].std, 0.0);
    EXPECT_DOUBLE_EQ(s.total.mean, 215.0);
    EXPECT_EQ(s.total.min, 212);
    EXPECT_EQ(s.total.max, 219);
    EXPECT_EQ(s.ropesInSpread, 3);
    EXPECT_DOUBLE_EQ(s.spreadKg, 105.0);                          // 110 - 5
    EXPECT_DOUBLE_EQ(s.spreadPercent, 105.0 / (215.0 / 3) * 100); // of the three means' mean

    // Large loads with a tiny variance: sums of squares in doubles would give noise.
    RangeStatistics large;
    for (int i = 0; i < 1000; ++i)
        large.Add(Uniform(i % 2 == 0 ? 2000000000 : 2000000002));
    const RangeSummary l = large.Summary();
    EXPECT_DOUBLE_EQ(l.ropes[5].mean, 2000000001.0);
    EXPECT_DOUBLE_EQ(l.ropes[5].std, 1.0);
    EXPECT_EQ(l.total.max, 12LL * 2000000002);
    EXPECT_DOUBLE_EQ(l.spreadKg, 0.0);

    const RangeSummary none = RangeStatistics().Summary();
    EXPECT_EQ(none.frames, 0);
    EXPECT_EQ(none.ropesInSpread, 0);
    EXPECT_DOUBLE_EQ(none.spreadPercent, 0.0);
}

TEST(CsvExport, WritesTheRangeWithAHeaderAndPointDecimalsWhateverTheLocale) {
    RecordColumns record;
    for (std::int32_t f = 1; f <= 5; ++f) {
        Loads loads{};
        for (int r = 0; r < kRecordRopes; ++r)
            loads[r] = f * 100 + r;
        record.Append(loads);
    }
    std::ostringstream kg;
    ASSERT_TRUE(WriteCsv(kg, record, 2, 3, {}));
    std::istringstream lines(kg.str());
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "frame,rope 1 (kg),rope 2 (kg),rope 3 (kg),rope 4 (kg),rope 5 (kg),"
                       "rope 6 (kg),rope 7 (kg),rope 8 (kg),rope 9 (kg),rope 10 (kg),"
                       "rope 11 (kg),rope 12 (kg),total (kg)");
    EXPECT_EQ(rows[1], "2,200,201,202,203,204,205,206,207,208,209,210,211,2466");
    EXPECT_EQ(rows[2].substr(0, 6), "3,300,");

    const char* before = std::setlocale(LC_ALL, "de_DE.UTF-8");
    std::ostringstream pounds;
    ASSERT_TRUE(WriteCsv(pounds, record, 5, 99, {2.5, "lbs", false}));
    if (before != nullptr)
        std::setlocale(LC_ALL, "C");
    const std::string text = pounds.str();
    EXPECT_NE(text.find("\n5,1250.000,1252.500,"), std::string::npos) << text;
    EXPECT_NE(text.find("total (lbs)"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << "the range ends at the record";
    EXPECT_EQ(FormatNumber(-0.0001, 3), "0.000");
}
