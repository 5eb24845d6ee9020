// Finding the device: the remembered port first, then ports 1 to 255.
#include "DeviceLink.h"
#include "Profile.h"

#include <array>
#include <cerrno>
#include <memory>
#include <thread>
#include <vector>

namespace tensiq {

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kLastFound = "LastTQFound";
constexpr int kDrainRounds = 10;
constexpr int kReplyPauses = 10;

constexpr std::array<const char*, 12> kIdentifications = {"V 0.94", "V 0.01", "V 0.95", "V 0.96",
                                                          "V 0.97", "V 0.98", "V 0.99", "V 1.00",
                                                          "V 1.01", "V 1.02", "V 1.03", "V 1.08"};

} // namespace

void DeviceLink::ApplyReplyLetters(const std::string& reply) {
    if (reply.size() >= 2 && (reply[1] == 'C' || reply[1] == 'c'))
        g_ropeDifferenceVariant = 1;
}

bool DeviceLink::IsKnownIdentification(const std::string& reply) {
    for (const char* known : kIdentifications)
        if (reply == known)
            return true;
    return !reply.empty() && (reply[0] == 'L' || reply[0] == 'M');
}

bool DeviceLink::Probe(SerialPort& port, std::string& reply) {
    // A closed port drops what arrives, so right after the open a streaming device has not
    // shown itself yet; without this pause its stream would be taken for the reply to V.
    Pause(kPauseMs);
    if (port.BytesWaiting() > 0) {
        std::uint8_t scrap[130];
        const std::uint8_t quiet = cmd::kQuiet;
        for (int rounds = 1;; ++rounds) {
            port.Read(scrap, sizeof scrap);
            port.Write(&quiet, 1);
            const bool empty = port.BytesWaiting() == 0;
            if (rounds >= kDrainRounds)
                return false;
            if (empty)
                break;
        }
    }
    const std::uint8_t identify = cmd::kIdentify;
    port.Write(&identify, 1);
    for (int pauses = 0; port.BytesWaiting() < 6 && pauses < kReplyPauses; ++pauses)
        Pause(kPauseMs);
    char text[7] = {};
    if (port.Read(text, 6) < 6)
        return false;
    reply.assign(text); // ends at a zero byte
    return IsKnownIdentification(reply);
}

int DeviceLink::DiscoverPort(int skipPort) {
    SerialPort probe;
    std::string reply;
    const int remembered = m_profile ? m_profile->GetInt(kSection, kLastFound, -1) : -1;
    m_busyPorts.clear();
    if (remembered != -1 && remembered != skipPort && probe.Open(remembered, kLinkBaudRate)) {
        const bool accepted = Probe(probe, reply);
        probe.Close();
        if (accepted) {
            m_discovered = reply;
            ApplyReplyLetters(reply);
            return remembered;
        }
    }
    // Every port that opens is probed at the same time: a silent port costs its ten pauses once
    // for the whole scan instead of once each. The lowest-numbered port that accepts wins, as in
    // an ascending scan; the remembered port takes its turn again.
    std::vector<std::unique_ptr<SerialPort>> opened;
    std::vector<int> numbers;
    for (int port = 1; port <= 255; ++port) {
        auto candidate = std::make_unique<SerialPort>();
        if (port == skipPort)
            continue;
        if (!candidate->Open(port, kLinkBaudRate)) {
            if (candidate->LastOpenError() == EBUSY)
                m_busyPorts.push_back(port);
            continue;
        }
        opened.push_back(std::move(candidate));
        numbers.push_back(port);
    }
    std::vector<std::string> replies(opened.size());
    std::vector<char> accepted(opened.size(), 0);
    {
        std::vector<std::jthread> probes;
        probes.reserve(opened.size());
        for (std::size_t i = 0; i < opened.size(); ++i)
            probes.emplace_back([&, i] {
                accepted[i] = Probe(*opened[i], replies[i]) ? 1 : 0;
                opened[i]->Close();
            });
    }
    for (std::size_t i = 0; i < opened.size(); ++i) {
        if (!accepted[i])
            continue;
        if (m_profile)
            m_profile->WriteInt(kSection, kLastFound, numbers[i]);
        m_discovered = replies[i];
        ApplyReplyLetters(replies[i]);
        return numbers[i];
    }
    if (m_profile && m_busyPorts.empty())
        m_profile->WriteInt(kSection, kLastFound, -1);
    m_discovered.clear();
    return -1;
}

} // namespace tensiq
