#include "ProcessSample.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tensiq::soak {

ProcessSample Sample(pid_t pid) {
    ProcessSample s;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> s.rssKb;
        else if (key == "Threads:")
            status >> s.threads;
        std::string rest;
        std::getline(status, rest);
    }
    if (DIR* dir = ::opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
        s.descriptors = 0;
        while (const dirent* e = ::readdir(dir))
            if (e->d_name[0] != '.')
                ++s.descriptors;
        ::closedir(dir);
        // The listing's own descriptor, when the process is this one.
        if (pid == ::getpid())
            --s.descriptors;
    }
    return s;
}

void SampleSeries::Add(const ProcessSample& s) {
    if (s.rssKb <= 0)
        return;
    if (m_count++ == 0)
        m_first = m_peak = s;
    m_last = s;
    m_peak.rssKb = std::max(m_peak.rssKb, s.rssKb);
    m_peak.threads = std::max(m_peak.threads, s.threads);
    m_peak.descriptors = std::max(m_peak.descriptors, s.descriptors);
}

bool SampleSeries::Flat(long maxGrowthKb) const {
    return m_count > 1 && GrowthKb() < maxGrowthKb && m_last.threads == m_first.threads &&
           m_last.descriptors == m_first.descriptors;
}

void SampleSeries::Print(const char* firstWhen) const {
    std::printf("  memory (VmRSS) %ld kB %s, %ld kB at the end, peak %ld kB: growth %ld kB\n",
                m_first.rssKb, firstWhen, m_last.rssKb, m_peak.rssKb, GrowthKb());
    std::printf("  threads %d -> %d (peak %d), descriptors %d -> %d (peak %d); %ld samples\n",
                m_first.threads, m_last.threads, m_peak.threads, m_first.descriptors,
                m_last.descriptors, m_peak.descriptors, m_count);
}

} // namespace tensiq::soak
