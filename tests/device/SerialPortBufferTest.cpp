// The port takes in what the driver holds with one read and hands it out piece by piece.
#include "SerialPort.h"
#include "SimulatorFixture.h"

using namespace tensiq;

class SerialPortBuffer : public test::SimulatorFixture {
protected:
    // A device at port 1, asked V; its six-byte reply waits at the port.
    void OpenWithReplyQueued() {
        sim->AddDevice(1, Device("L 1.08"));
        sim->Start();
        ASSERT_TRUE(port.Open(1, 230400));
        AskAgain();
    }
    void AskAgain() {
        const std::uint8_t v = 'V';
        port.Write(&v, 1);
        ASSERT_TRUE(test::Eventually([&] { return port.BytesWaiting() == 6; }));
    }
    SerialPort port;
};

TEST_F(SerialPortBuffer, AReplyReadByteByByteCostsOneSystemRead) {
    OpenWithReplyQueued();
    std::string reply;
    for (int i = 0; i < 6; ++i) {
        char c = 0;
        ASSERT_EQ(port.Read(&c, 1), 1);
        reply += c;
        EXPECT_EQ(port.BytesWaiting(), 5 - i) << "what is left counts as queued";
    }
    EXPECT_EQ(reply, "L 1.08");
    EXPECT_EQ(port.SystemReadCount(), 1u);
    char c = 0;
    EXPECT_EQ(port.Read(&c, 1), 0);
    EXPECT_EQ(port.SystemReadCount(), 1u) << "an empty queue is not read";
}

TEST_F(SerialPortBuffer, WhatWasTakenInIsGoneAfterAPurgeAndAClose) {
    OpenWithReplyQueued();
    char c = 0;
    ASSERT_EQ(port.Read(&c, 1), 1);
    EXPECT_EQ(port.Buffered(), 5);
    EXPECT_TRUE(port.PurgeInput());
    EXPECT_EQ(port.BytesWaiting(), 0);
    EXPECT_EQ(port.Read(&c, 1), 0);

    AskAgain();
    port.Close();
    EXPECT_EQ(port.Buffered(), 0);
    ASSERT_TRUE(port.Open(1, 230400));
    EXPECT_EQ(port.Read(&c, 1), 0) << "the old reply is not handed to the next open";
}
