#include "DeviceModel.h"

#include <cmath>

namespace tensiq::sim {

namespace {

void PutWordBigEndian(std::array<std::uint8_t, kBlockSize>& block, std::size_t at, int value) {
    block[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    block[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void SetChecksum(std::array<std::uint8_t, kBlockSize>& block) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < kBlockSize; ++i)
        sum += block[i];
    block[kBlockSize - 1] = static_cast<std::uint8_t>(-sum);
}

} // namespace

namespace {

constexpr long kLowDigits = 255;  // 0x00-0xFF without 0x0D
constexpr long kHighDigits = 127; // 0x00-0x7F without 0x0D

std::uint8_t Digit(long d) {
    return static_cast<std::uint8_t>(d < 0x0D ? d : d + 1);
}
long Undigit(int byte) {
    return byte == 0x0D ? -1 : byte < 0x0D ? byte : byte - 1;
}
std::int16_t Word(long value) {
    return static_cast<std::int16_t>(Digit(value % kLowDigits) |
                                     (Digit(value / kLowDigits % kHighDigits) << 8));
}
long Unword(int reading) {
    const long low = Undigit(reading & 0xFF), high = Undigit((reading >> 8) & 0xFF);
    if (reading < 0 || reading > 0x7FFF || low < 0 || high < 0 || high >= kHighDigits)
        return -1;
    return low + high * kLowDigits;
}

} // namespace

std::array<std::int16_t, 2> FrameNumberReadings(long number) {
    constexpr long kPerWord = kLowDigits * kHighDigits;
    return {Word(number / kPerWord % kPerWord), Word(number % kPerWord)};
}

long FrameNumberFromReadings(int rope11, int rope12) {
    const long high = Unword(rope11), low = Unword(rope12);
    if (high < 0 || low < 0)
        return -1;
    return high * kLowDigits * kHighDigits + low;
}

DeviceConfig DeviceConfig::Default() {
    DeviceConfig c;
    // Slightly different ropes; with their ripple none ever carries 0x0D in a byte, so a
    // stream synchronises on its first terminator.
    c.readings = {486, 478, 493, 502, 510, 497, 540, 536, 548, 505, 560, 552};
    auto& b = c.block;
    PutWordBigEndian(b, 0, 8000); // 10 V at 8000 kg
    PutWordBigEndian(b, 2, 1250); // tare
    PutWordBigEndian(b, 4, 150);  // empty load
    PutWordBigEndian(b, 6, 5200); // full load
    PutWordBigEndian(b, 8, 6300); // overload
    PutWordBigEndian(b, 10, 40);  // slack rope
    PutWordBigEndian(b, 12, 120); // rope difference
    b[14] = 1;
    b[15] = 0;
    b[16] = 0;
    b[17] = 1;
    b[18] = 12; // ropes
    b[19] = 1;  // factor
    PutWordBigEndian(b, 20, 0x1234);
    PutWordBigEndian(b, 22, 0xA55A);
    b[24] = 0x7E;
    b[25] = 20; // live zero 2.0 V
    b[26] = 1;
    b[27] = 2;
    for (std::size_t i = 28; i < 127; ++i)
        b[i] = static_cast<std::uint8_t>(0x30 + (i * 7) % 0x50);
    SetChecksum(b);
    c.image.resize(kImageSize);
    for (std::size_t i = 0; i < kImageSize; ++i)
        c.image[i] = static_cast<std::uint8_t>((i * 31 + (i >> 8)) & 0xFF);
    return c;
}

DeviceModel::DeviceModel(DeviceConfig config) : m_config(std::move(config)) {
    if (m_config.image.size() != kImageSize)
        m_config.image.resize(kImageSize, 0xFF);
}

void DeviceModel::OnInput(const std::uint8_t* data, std::size_t count, Output& out) {
    for (std::size_t i = 0; i < count && !m_dead; ++i)
        OnByte(data[i], out);
}

void DeviceModel::OnByte(std::uint8_t byte, Output& out) {
    switch (m_mode) {
    case Mode::Command:
        Command(byte, out);
        return;
    case Mode::AfterB:
        m_mode = Mode::Command;
        if (byte == 'N') {
            m_mode = Mode::AfterBN;
        } else if (byte == 'K') {
            ++m_counters.imageReads;
            out.Send(m_config.image.data(), m_config.image.size());
        } else if (byte == 'L') {
            m_incoming.clear();
            m_counters.imageBytesReceived = 0;
            m_mode = Mode::ImageIn;
        } else {
            Command(byte, out);
        }
        return;
    case Mode::AfterBN:
        m_mode = Mode::Command;
        if (byte == 'S') {
            ++m_counters.streamStarts;
            m_streaming = true;
            m_nextFrame = Clock::now();
        } else {
            Command(byte, out);
        }
        return;
    case Mode::BlockIn:
        m_incoming.push_back(byte);
        if (m_incoming.size() == kBlockSize) {
            m_received = m_incoming;
            m_storeIndex = 0;
            m_mode = Mode::StoreIn;
        }
        return;
    case Mode::StoreIn:
        if (byte != "PROG"[m_storeIndex]) {
            m_mode = Mode::Command;
            Command(byte, out);
            return;
        }
        if (++m_storeIndex == 4) {
            m_mode = Mode::Command;
            StoreBlock(out);
        }
        return;
    case Mode::ImageIn:
        m_incoming.push_back(byte);
        ++m_counters.imageBytesReceived;
        if (m_incoming.size() == kImageSize) {
            m_mode = Mode::Command;
            m_config.image = m_incoming;
            if (const int at = m_config.faults.imageDiffersAt; at >= 0 && at < int(kImageSize))
                m_config.image[static_cast<std::size_t>(at)] ^= 0x01;
            ++m_counters.imagesStored;
            if (!m_config.faults.noImageAck)
                out.Send(std::uint8_t{'L'});
        }
        return;
    }
}

void DeviceModel::Command(std::uint8_t byte, Output& out) {
    switch (byte) {
    case 'X':
        ++m_counters.quietCommands;
        if (!m_config.faults.neverSilent)
            m_streaming = false;
        break;
    case 'V': {
        ++m_counters.identifyRequests;
        std::uint8_t reply[6] = {};
        for (std::size_t i = 0; i < 6 && i < m_config.identification.size(); ++i)
            reply[i] = static_cast<std::uint8_t>(m_config.identification[i]);
        out.Send(reply, m_config.faults.shortIdentification ? 5 : 6);
        break;
    }
    case 'D':
        ++m_counters.blockReads;
        SendBlock(out);
        break;
    case 'W':
        m_incoming.clear();
        m_mode = Mode::BlockIn;
        break;
    case 'Y':
        ++m_counters.confirmations;
        break;
    case 'B':
        m_mode = Mode::AfterB;
        break;
    default:
        break;
    }
}

void DeviceModel::SendBlock(Output& out) {
    const DeviceFaults& f = m_config.faults;
    out.Send(f.wrongEcho ? std::uint8_t{'d'} : std::uint8_t{'D'});
    out.Send(m_config.block.data(), f.shortBlock ? 100 : kBlockSize);
    if (!f.shortBlock)
        out.Send(f.wrongTerminator ? std::uint8_t{0x0A} : std::uint8_t{0x0D});
}

void DeviceModel::StoreBlock(Output& out) {
    const DeviceFaults& f = m_config.faults;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        m_config.block[i] = m_received[i];
    if (f.storeDiffersAt >= 0 && f.storeDiffersAt < static_cast<int>(kBlockSize))
        m_config.block[f.storeDiffersAt] ^= 0x01;
    ++m_counters.blocksStored;
    using R = DeviceFaults::StoreReply;
    switch (f.storeReply) {
    case R::Normal:
        out.Send(reinterpret_cast<const std::uint8_t*>("PO"), 2);
        break;
    case R::None:
        break;
    case R::Short:
        out.Send(std::uint8_t{'P'});
        break;
    case R::WrongFirst:
        out.Send(reinterpret_cast<const std::uint8_t*>("QO"), 2);
        break;
    case R::WrongSecond:
        out.Send(reinterpret_cast<const std::uint8_t*>("PQ"), 2);
        break;
    }
}

std::optional<Clock::time_point> DeviceModel::NextDue() const {
    if (!m_streaming || m_dead)
        return std::nullopt;
    return m_nextFrame;
}

void DeviceModel::OnTime(Clock::time_point now, Output& out) {
    if (!m_streaming || m_dead || now < m_nextFrame)
        return;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / std::max(m_config.frameRate, 0.1)));
    // A device that falls behind does not send a burst to catch up.
    m_nextFrame = std::max(m_nextFrame + period, now - period);
    // The line is busy: the device's transmitter would be too, so the frame waits its turn.
    if (out.Pending() >= 2 * kFrameSize)
        return;
    SendFrame(out);
    const int hangUp = m_config.faults.hangUpAfterFrames;
    if (hangUp > 0 && m_frameNumber >= hangUp) {
        m_dead = true;
        out.HangUp();
    }
}

void DeviceModel::SendFrame(Output& out) {
    ++m_frameNumber;
    const DeviceFaults& f = m_config.faults;
    std::uint8_t frame[kFrameSize] = {};
    frame[0] = 0x4C;
    // The frame's number in the two free bytes, in base 255 with 0x0D left out so that no
    // byte but the terminator ends a frame: 65025 frames before a number comes again.
    const auto digit = [](std::uint32_t d) {
        return static_cast<std::uint8_t>(d < 0x0D ? d : d + 1);
    };
    frame[1] = digit(m_sequence % 255);
    frame[38] = digit(m_sequence / 255 % 255);
    ++m_sequence;
    std::array<int, 12> settled{};
    if (m_config.settleSeconds > 0) {
        if (!m_settlingStarted)
            m_settling.Reset(m_config.readings, m_config.frameRate, m_config.settleSeconds);
        m_settlingStarted = true;
        settled = m_settling.Next();
    }
    for (int k = 0; k < 12; ++k) {
        int value = m_config.readings[k];
        if (m_config.settleSeconds > 0)
            value = settled[k];
        else if (m_config.ripple && value > 20)
            value += static_cast<int>(std::lround(6.0 * std::sin(0.05 * m_frameNumber + k)));
        const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
        frame[2 + 3 * k] = static_cast<std::uint8_t>(word & 0xFF);
        frame[3 + 3 * k] = static_cast<std::uint8_t>(word >> 8);
        frame[4 + 3 * k] = m_config.flags[k];
    }
    if (m_config.numberedReadings) {
        const auto numbered = FrameNumberReadings(m_frameNumber);
        for (int k = 10; k < 12; ++k) {
            const auto word = static_cast<std::uint16_t>(numbered[k - 10]);
            frame[2 + 3 * k] = static_cast<std::uint8_t>(word & 0xFF);
            frame[3 + 3 * k] = static_cast<std::uint8_t>(word >> 8);
        }
    }
    frame[39] = 0x0D;
    const auto tag = static_cast<std::uint16_t>(frame[1] | (frame[38] << 8));
    if (f.badMarkerEvery > 0 && m_frameNumber % f.badMarkerEvery == 0)
        frame[0] = 0x4D;
    if (f.badTerminatorEvery > 0 && m_frameNumber % f.badTerminatorEvery == 0)
        frame[39] = 0x0A;
    std::size_t size = kFrameSize;
    if (f.noCarriageReturn) {
        for (auto& b : frame)
            if (b == 0x0D)
                b = 0x0E;
    }
    if (f.dropByteEvery > 0 && m_frameNumber % f.dropByteEvery == 0) {
        // The byte after the marker goes missing.
        for (std::size_t i = 1; i + 1 < kFrameSize; ++i)
            frame[i] = frame[i + 1];
        --size;
    }
    out.SendFrame(frame, size, tag);
    ++m_counters.framesSent;
}

} // namespace tensiq::sim
