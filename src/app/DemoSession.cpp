#include "DemoSession.h"

#include "Simulator.h"

#include <QDir>
#include <QSettings>

#include <array>
#include <cstdint>
#include <cstdlib>

namespace tensiq {

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40; // the line's limit, 576 frames a second
constexpr double kSettleSeconds = 120.0;

// Ropes of one lift before they are evened out; none has 0x0D as a byte.
constexpr std::array<std::int16_t, 12> kDemoReadings = {612, 455, 538, 702, 384, 509,
                                                        591, 431, 664, 494, 566, 470};

} // namespace

DemoSession::DemoSession() : m_folder(QDir::tempPath() + QStringLiteral("/tensiq-demo-XXXXXX")) {
    if (!m_folder.isValid())
        return;
    const std::string base = m_folder.path().toStdString();
    const std::string ports = base + "/ports";
    const std::string config = base + "/config";
    const std::string data = base + "/data";
    ::setenv("TENSIQ_PORT_DIR", ports.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    // QSettings may have read its folder already; this holds for every profile opened later.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(config));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config));

    m_simulator = std::make_unique<sim::Simulator>(ports);
    m_simulator->AddSilent(kDemoSilentPort);
    m_simulator->AddNoise(kDemoNoisePort);
    sim::DeviceConfig device = sim::DeviceConfig::Default();
    device.frameRate = kLineFrames;
    device.readings = kDemoReadings;
    device.settleSeconds = kSettleSeconds;
    m_simulator->AddDevice(kDemoDevicePort, device);
    m_simulator->SetPacing(true);
    m_simulator->Start();
    m_ok = true;
}

DemoSession::~DemoSession() {
    if (m_simulator)
        m_simulator->Stop();
    m_simulator.reset();
    ::unsetenv("TENSIQ_PORT_DIR");
}

std::string DemoSession::Folder() const {
    return m_folder.path().toStdString();
}

std::string DemoSession::PortFolder() const {
    return Folder() + "/ports";
}

} // namespace tensiq
