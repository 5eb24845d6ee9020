// Moving the device's memory image.
#include "ChunkPacer.h"
#include "DeviceLink.h"

#include <vector>

namespace tensiq {

bool DeviceLink::ReadImage() {
    if (!m_port.IsOpen())
        return false;
    if (!Quieten())
        return false;
    for (const std::uint8_t byte : {cmd::kPrefix, cmd::kImageRead}) {
        Pause(kPauseMs);
        if (!Send(byte))
            return false;
    }
    Pause(kPauseMs);
    // A tty queues at most 4095 bytes, so the image is collected as it arrives; it fails
    // after twenty pauses that bring nothing.
    std::vector<std::uint8_t> wire(kImageWireSize);
    std::size_t got = 0;
    for (int idle = 0; got < kImageWireSize;) {
        const int n = m_port.Read(wire.data() + got, static_cast<int>(kImageWireSize - got));
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            idle = 0;
            continue;
        }
        if (idle == kWaitPauses)
            return false;
        Pause(kPauseMs);
        ++idle;
    }
    std::copy(wire.begin(), wire.begin() + kImageSize, m_image.begin());
    m_hasImage = true;
    return true;
}

bool DeviceLink::WriteImage() {
    if (!m_port.IsOpen() || !m_hasImage)
        return false;
    if (!Quieten())
        return false;
    Pause(kPauseMs);
    if (!Send(cmd::kPrefix))
        return false;
    Pause(kPauseMs);
    std::vector<std::uint8_t> wire(kImageWireSize, 0xFF);
    std::copy(m_image.begin(), m_image.end(), wire.begin());
    if (!Send(cmd::kImageWrite))
        return false;
    Pause(kPauseMs);
    // The device paces nothing: the pause between chunks is its only flow control.
    ChunkPacer pacer(kImageChunkGap, m_pacerTiming);
    for (std::size_t at = 0; at < kImageWireSize; at += kImageChunk) {
        pacer.WaitForTurn();
        m_port.Write(wire.data() + at, static_cast<int>(kImageChunk));
    }
    // The last chunk gets its pause too before the acknowledgement is looked for.
    pacer.WaitForTurn();
    if (!QueueWait(1))
        return false;
    std::uint8_t ack = 0;
    return m_port.Read(&ack, 1) == 1 && ack == cmd::kImageWrite;
}

} // namespace tensiq
