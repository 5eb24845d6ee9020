#pragma once
// The mean of measured rounds with its 95 % confidence interval, so that a target is called met
// or missed only when the rounds decide it. Single rounds here swing by a third; the median of
// five moved by a quarter between runs, enough to call one build both.
#include <cmath>
#include <vector>

namespace tensiq::bench {

struct MeanInterval {
    double mean = -1;
    double halfWidth = -1; // of the 95 % interval; -1 with fewer than two rounds
    int rounds = 0;

    double Low() const { return mean - halfWidth; }
    double High() const { return mean + halfWidth; }
};

// The two-sided 95 % quantile of Student's t; past 30 degrees of freedom within 0.3 % of it.
inline double StudentT95(int degreesOfFreedom) {
    static constexpr double kTable[] = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306,
                                        2.262,  2.228, 2.201, 2.179, 2.160, 2.145, 2.131, 2.120,
                                        2.110,  2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064,
                                        2.060,  2.056, 2.052, 2.048, 2.045, 2.042};
    if (degreesOfFreedom < 1)
        return -1;
    if (degreesOfFreedom <= 30)
        return kTable[degreesOfFreedom - 1];
    return 1.96 + 2.4 / degreesOfFreedom;
}

inline MeanInterval MeanWithInterval(const std::vector<double>& values) {
    MeanInterval m;
    m.rounds = static_cast<int>(values.size());
    if (values.empty())
        return m;
    double sum = 0;
    for (const double v : values)
        sum += v;
    m.mean = sum / m.rounds;
    if (m.rounds < 2)
        return m;
    double squares = 0;
    for (const double v : values)
        squares += (v - m.mean) * (v - m.mean);
    const double standardError = std::sqrt(squares / (m.rounds - 1) / m.rounds);
    m.halfWidth = StudentT95(m.rounds - 1) * standardError;
    return m;
}

enum class Verdict { Met, Missed, Undecided };

// Met when the whole interval lies at or below the bound, missed when it lies above it.
inline Verdict AtMost(const MeanInterval& m, double bound) {
    if (m.halfWidth < 0)
        return Verdict::Undecided;
    if (m.High() <= bound)
        return Verdict::Met;
    return m.Low() > bound ? Verdict::Missed : Verdict::Undecided;
}

inline const char* VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Met:
        return "met";
    case Verdict::Missed:
        return "NOT met";
    case Verdict::Undecided:
        break;
    }
    return "undecided (the interval holds the bound)";
}

} // namespace tensiq::bench
