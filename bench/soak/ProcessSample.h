#pragma once
// Memory, threads and open descriptors of a process, sampled over a soak.
#include <sys/types.h>

namespace tensiq::soak {

struct ProcessSample {
    long rssKb = -1;
    int threads = -1;
    int descriptors = -1;
};

// From /proc; -1 for what could not be read (the process is gone).
ProcessSample Sample(pid_t pid);

// The first sample (after the warm-up), the last and the peak.
class SampleSeries {
public:
    void Add(const ProcessSample& s);
    bool Empty() const { return m_count == 0; }
    long Count() const { return m_count; }
    const ProcessSample& First() const { return m_first; }
    const ProcessSample& Last() const { return m_last; }
    long GrowthKb() const { return m_last.rssKb - m_first.rssKb; }
    // Memory grew by less than maxGrowthKb; threads and descriptors as at the first sample.
    bool Flat(long maxGrowthKb) const;
    // "memory (VmRSS) ... threads ... descriptors ...", the first sample named by firstWhen.
    void Print(const char* firstWhen) const;

private:
    ProcessSample m_first, m_last, m_peak;
    long m_count = 0;
};

} // namespace tensiq::soak
