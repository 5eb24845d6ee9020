// Reading and writing the parameter block.
#include "DeviceLink.h"
#include "DumpFile.h"

#include <cstring>

namespace tensiq {

std::string WriteResultText(int result) {
    switch (result) {
    case kWriteOk:
        return "written";
    case kWriteNotOpen:
        return "the port is not open";
    case kWriteQuietNotSent:
        return "the quiet command X could not be sent";
    case kWriteNotSilent:
        return "the device did not fall silent";
    case kWriteCommandNotSent:
        return "the write command W could not be sent";
    case kWriteBlockNotSent:
        return "the block could not be sent";
    case 6:
    case 7:
    case 8:
    case 9:
        return std::string("the store command byte ") + "PROG"[result - 6] + " could not be sent";
    case kWriteNoStoreReply:
        return "the device did not answer the store command";
    case kWriteStoreReplyShort:
        return "the device's answer to the store command was incomplete";
    case kWriteStoreReplyFirstWrong:
        return "the first byte of the device's answer to the store command was wrong";
    case kWriteStoreReplySecondWrong:
        return "the second byte of the device's answer to the store command was wrong";
    case kWriteReadBackFailed:
        return "the block could not be read back";
    case kWriteReadBackDiffers:
        return "the block read back differs from the block written";
    case kWriteConfirmNotSent:
        return "the confirmation Y could not be sent";
    default:
        return "unknown failure " + std::to_string(result);
    }
}

bool DeviceLink::ReadParameters(ParameterBlock& destination) {
    if (!m_port.IsOpen())
        return false;
    if (!Quieten())
        return false;
    Pause(kPauseMs);
    if (!Send(cmd::kReadBlock))
        return false;
    Pause(kPauseMs);
    std::uint8_t echo = 0;
    if (!ByteWait(echo))
        return false;
    Pause(kPauseMs);
    if (echo != cmd::kReadBlock)
        return false;
    if (!QueueWait(static_cast<int>(ParameterBlock::kSize)))
        return false;
    // Collect the block; a short read keeps what came and waits for the rest.
    std::uint8_t* block = destination.bytes.data();
    int got = m_port.Read(block, ParameterBlock::kSize);
    for (int pauses = 0; got < static_cast<int>(ParameterBlock::kSize);) {
        if (pauses == kWaitPauses)
            return false;
        Pause(kPauseMs);
        ++pauses;
        got += m_port.Read(block + got, static_cast<int>(ParameterBlock::kSize) - got);
    }
    WriteDump(kDumpBefore, block);
    Pause(kPauseMs);
    std::uint8_t terminator = 0;
    if (!ByteWait(terminator))
        return false;
    Pause(kPauseMs);
    if (terminator != cmd::kTerminator)
        return false;
    destination.SwapWords();
    return true;
}

int DeviceLink::WriteParameters(ParameterBlock block) {
    block.SwapWords();
    block.SetChecksum();
    if (!m_port.IsOpen())
        return kWriteNotOpen;
    if (!Send(cmd::kQuiet))
        return kWriteQuietNotSent;
    if (!SilenceWait())
        return kWriteNotSilent;
    if (!Send(cmd::kWriteBlock))
        return kWriteCommandNotSent;
    if (m_port.Write(block.bytes.data(), ParameterBlock::kSize) != ParameterBlock::kSize)
        return kWriteBlockNotSent;
    Pause(kPauseMs);
    for (std::size_t i = 0; i < cmd::kStore.size(); ++i)
        if (!Send(cmd::kStore[i]))
            return kWriteStoreByte1NotSent + static_cast<int>(i);
    Pause(kPauseMs);
    if (!QueueWait(2))
        return kWriteNoStoreReply;
    std::uint8_t reply[2] = {};
    if (m_port.Read(reply, 2) < 2)
        return kWriteStoreReplyShort;
    if (reply[0] != 0x50)
        return kWriteStoreReplyFirstWrong;
    if (reply[1] != 0x4F)
        return kWriteStoreReplySecondWrong;
    ParameterBlock readBack;
    if (!ReadParameters(readBack))
        return kWriteReadBackFailed;
    WriteDump(kDumpAfter, readBack.bytes.data());
    block.SwapWords();
    // The device may keep its own checksum; only the settings must match.
    if (std::memcmp(readBack.bytes.data(), block.bytes.data(), ParameterBlock::kChecksumAt) != 0)
        return kWriteReadBackDiffers;
    if (!Send(cmd::kConfirm))
        return kWriteConfirmNotSent;
    return kWriteOk;
}

} // namespace tensiq
