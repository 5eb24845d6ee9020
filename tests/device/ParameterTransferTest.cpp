#include "DeviceLink.h"
#include "DumpFile.h"
#include "RunTool.h"
#include "SimulatorFixture.h"
#include "UserDataFolder.h"

#include <cstdio>
#include <filesystem>
#include <numeric>

using namespace tensiq;

namespace {

ParameterBlock HostForm(const std::array<std::uint8_t, 128>& wire) {
    ParameterBlock b;
    b.bytes = wire;
    b.SwapWords();
    return b;
}

std::string DumpText(const std::uint8_t* bytes) {
    std::string text;
    char cell[8];
    for (int i = 0; i < 128; ++i) {
        std::snprintf(cell, sizeof cell, "0x%02X ", bytes[i]);
        text += cell;
        if (i % 8 == 7)
            text += "\n";
    }
    return text;
}

} // namespace

class ParameterTransferTest : public test::SimulatorFixture {
protected:
    void StartDevice(const sim::DeviceFaults& faults = {}) {
        sim::DeviceConfig c = Device();
        c.faults = faults;
        sim->AddDevice(1, c);
        sim->Start();
        ASSERT_TRUE(link.Open(1));
    }
    std::array<std::uint8_t, 128> DeviceBlock() {
        std::array<std::uint8_t, 128> block{};
        WithDevice(1, [&](sim::DeviceModel& d) { block = d.Config().block; });
        return block;
    }
    int Confirmations() {
        int n = 0;
        WithDevice(1, [&](sim::DeviceModel& d) { n = d.Counters().confirmations; });
        return n;
    }
    std::string Dump(const char* name) { return test::ReadFile(UserDataFile(name)); }

    DeviceLink link;
};

TEST_F(ParameterTransferTest, ReadGivesTheHostFormAndDumpsTheWireBytes) {
    StartDevice();
    const auto wire = DeviceBlock();
    ParameterBlock block;
    ASSERT_TRUE(link.ReadParameters(block));
    EXPECT_EQ(block, HostForm(wire));
    EXPECT_EQ(block.RopeCount(), 12);
    EXPECT_EQ(block.Factor(), 1);
    EXPECT_EQ(Dump(kDumpBefore), DumpText(wire.data()));
    const auto mode = std::filesystem::status(UserDataFolder()).permissions();
    EXPECT_EQ(mode, std::filesystem::perms::owner_all) << "the data folder is private";
}

TEST_F(ParameterTransferTest, WrongTerminatorFailsAfterTheDump) {
    sim::DeviceFaults f;
    f.wrongTerminator = true;
    StartDevice(f);
    ParameterBlock block;
    EXPECT_FALSE(link.ReadParameters(block));
    EXPECT_EQ(Dump(kDumpBefore), DumpText(DeviceBlock().data()));
}

TEST_F(ParameterTransferTest, WrongEchoAndShortBlockFailBeforeAnyDump) {
    sim::DeviceFaults f;
    f.wrongEcho = true;
    StartDevice(f);
    ParameterBlock block;
    EXPECT_FALSE(link.ReadParameters(block));
    EXPECT_EQ(Dump(kDumpBefore), "") << "the block is never read after a wrong echo";

    WithDevice(1, [](sim::DeviceModel& d) {
        d.Config().faults.wrongEcho = false;
        d.Config().faults.shortBlock = true;
    });
    EXPECT_FALSE(link.ReadParameters(block));
    EXPECT_EQ(Dump(kDumpBefore), "");
}

TEST_F(ParameterTransferTest, DumpIsSkippedWhenTheFolderCannotBeMade) {
    StartDevice();
    const std::string blocker = Root() + "/not-a-folder";
    test::ReadFile(blocker);
    std::FILE* f = std::fopen(blocker.c_str(), "w");
    std::fclose(f);
    ::setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    ParameterBlock block;
    EXPECT_TRUE(link.ReadParameters(block)) << "the transfer goes on without its dump";
}

TEST_F(ParameterTransferTest, WriteStoresTheBlockWithChecksumAndKeepsTheDevicesBytes) {
    StartDevice();
    ParameterBlock block;
    ASSERT_TRUE(link.ReadParameters(block));
    const ParameterBlock read = block;
    block.SetTare(-1200);
    block.SetRopeCount(6);
    block.SetFactor(3);
    ASSERT_EQ(link.WriteParameters(block), kWriteOk);
    EXPECT_TRUE(test::Eventually([&] { return Confirmations() == 1; }));

    const auto stored = DeviceBlock();
    EXPECT_EQ(std::accumulate(stored.begin(), stored.end(), 0u) & 0xFF, 0u);
    const ParameterBlock host = HostForm(stored);
    EXPECT_EQ(host.Tare(), -1200);
    EXPECT_EQ(host.RopeCount(), 6);
    EXPECT_EQ(host.Factor(), 3);
    EXPECT_EQ(host.FullScaleLoad(), read.FullScaleLoad());
    for (std::size_t i = 20; i <= 24; ++i)
        EXPECT_EQ(host.bytes[i], read.bytes[i]) << i;
    for (std::size_t i = 28; i <= 126; ++i)
        EXPECT_EQ(host.bytes[i], read.bytes[i]) << i;
    EXPECT_EQ(Dump(kDumpAfter), DumpText(host.bytes.data())) << "the read-back in host form";
    EXPECT_EQ(Dump(kDumpBefore), DumpText(stored.data())) << "the read-back as received";
}

TEST_F(ParameterTransferTest, EachWriteFaultGivesItsStep) {
    StartDevice();
    ParameterBlock block;
    ASSERT_TRUE(link.ReadParameters(block));
    using R = sim::DeviceFaults::StoreReply;
    struct Case {
        const char* what;
        sim::DeviceFaults faults;
        int result;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, int result, auto change) {
        sim::DeviceFaults f;
        change(f);
        cases.push_back({what, f, result});
    };
    add("no store reply", kWriteNoStoreReply, [](auto& f) { f.storeReply = R::None; });
    // One byte never fills the two-byte queue wait, so the reply counts as missing.
    add("one-byte store reply", kWriteNoStoreReply, [](auto& f) { f.storeReply = R::Short; });
    add("first reply byte", kWriteStoreReplyFirstWrong,
        [](auto& f) { f.storeReply = R::WrongFirst; });
    add("second reply byte", kWriteStoreReplySecondWrong,
        [](auto& f) { f.storeReply = R::WrongSecond; });
    add("read-back echo", kWriteReadBackFailed, [](auto& f) { f.wrongEcho = true; });
    add("read-back differs", kWriteReadBackDiffers, [](auto& f) { f.storeDiffersAt = 5; });
    add("only the checksum differs", kWriteOk, [](auto& f) { f.storeDiffersAt = 127; });
    for (const Case& c : cases) {
        WithDevice(1, [&](sim::DeviceModel& d) { d.Config().faults = c.faults; });
        const int before = Confirmations();
        EXPECT_EQ(link.WriteParameters(block), c.result) << c.what;
        test::Eventually([&] { return Confirmations() > before; }, std::chrono::milliseconds(200));
        EXPECT_EQ(Confirmations() - before, c.result == kWriteOk ? 1 : 0)
            << c.what << ": Y only after a matching read-back";
        // A failed read-back leaves its block queued; the write's silence wait does not drain.
        Pause(100);
        link.Drain();
    }
    link.Close();
    EXPECT_EQ(link.WriteParameters(block), kWriteNotOpen);
}

TEST_F(ParameterTransferTest, DeviceThatKeepsStreamingRefusesTheWrite) {
    sim::DeviceFaults f;
    f.neverSilent = true;
    StartDevice(f);
    WithDevice(1, [](sim::DeviceModel& d) { d.Config().frameRate = 200; });
    ASSERT_TRUE(link.StartStreaming());
    EXPECT_EQ(link.WriteParameters(ParameterBlock{}), kWriteNotSilent);
    WithDevice(1, [](sim::DeviceModel& d) { EXPECT_EQ(d.Counters().blocksStored, 0); });
}

TEST_F(ParameterTransferTest, ImageRoundTripKeeps8160BytesAndPadsWithFF) {
    StartDevice();
    EXPECT_FALSE(link.WriteImage()) << "nothing to send before an image was read";
    std::vector<std::uint8_t> original;
    WithDevice(1, [&](sim::DeviceModel& d) { original = d.Config().image; });
    ASSERT_TRUE(link.ReadImage());
    EXPECT_TRUE(std::equal(link.Image().begin(), link.Image().end(), original.begin()));

    DeviceImage changed = link.Image();
    changed[0] ^= 0xFF;
    changed[kImageSize - 1] = 0x42;
    link.SetImage(changed);
    ASSERT_TRUE(link.WriteImage());
    std::vector<std::uint8_t> stored;
    WithDevice(1, [&](sim::DeviceModel& d) { stored = d.Config().image; });
    ASSERT_EQ(stored.size(), kImageWireSize);
    EXPECT_TRUE(std::equal(changed.begin(), changed.end(), stored.begin()));
    EXPECT_TRUE(std::all_of(stored.begin() + kImageSize, stored.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));

    WithDevice(1, [](sim::DeviceModel& d) { d.Config().faults.noImageAck = true; });
    EXPECT_FALSE(link.WriteImage());
}
