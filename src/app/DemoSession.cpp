#include "DemoSession.h"

#include "Simulator.h"
#include "StaleDemoFolders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <unistd.h>

namespace tensiq {

namespace {

constexpr double kLineFrames = 230400.0 / 10 / 40; // the line's limit, 576 frames a second
constexpr double kSettleSeconds = 120.0;
constexpr auto kDemoBatch = std::chrono::milliseconds(10);

// Ropes of one lift before they are evened out; none has 0x0D as a byte.
constexpr std::array<std::int16_t, 12> kDemoReadings = {612, 455, 538, 702, 384, 509,
                                                        591, 431, 664, 494, 566, 470};

void SetProfileFolder(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

} // namespace

void DemoSession::Redirect(SavedVariable& saved, const std::string& value) {
    if (const char* old = std::getenv(saved.name)) {
        saved.set = true;
        saved.value = old;
    }
    ::setenv(saved.name, value.c_str(), 1);
}

void DemoSession::Restore(const SavedVariable& saved) {
    if (saved.set)
        ::setenv(saved.name, saved.value.c_str(), 1);
    else
        ::unsetenv(saved.name);
}

DemoSession::DemoSession()
    : m_staleRemoved(RemoveStaleDemoFolders(QDir::tempPath().toStdString())),
      m_folder(QString::fromStdString(
          DemoFolderTemplate(QDir::tempPath().toStdString(), static_cast<long>(::getpid())))) {
    if (!m_folder.isValid()) {
        m_error = "cannot make the demo's temporary folder in " + QDir::tempPath().toStdString() +
                  ": " + m_folder.errorString().toStdString();
        return;
    }
    const std::string base = m_folder.path().toStdString();
    const std::string ports = base + "/ports";
    const std::string config = base + "/config";
    const std::string data = base + "/data";
    Redirect(m_saved[0], ports);
    Redirect(m_saved[1], config);
    Redirect(m_saved[2], data);
    // QSettings may have read its folder already; this holds for every profile opened later.
    SetProfileFolder(QString::fromStdString(config));

    try {
        m_simulator = std::make_unique<sim::Simulator>(ports);
        m_simulator->AddSilent(kDemoSilentPort);
        m_simulator->AddNoise(kDemoNoisePort);
        sim::DeviceConfig device = sim::DeviceConfig::Default();
        device.frameRate = kLineFrames;
        device.readings = kDemoReadings;
        device.settleSeconds = kSettleSeconds;
        m_simulator->AddDevice(kDemoDevicePort, device);
        m_simulator->SetPacing(true);
        // A wake-up per frame cost the demo more than the window; the frames of 10 ms go together.
        m_simulator->SetBatch(kDemoBatch);
        m_simulator->Start();
        m_ok = true;
    } catch (const std::exception& e) {
        // No pseudo-terminals (a container without /dev/pts): the user's folders come back.
        m_error = std::string("cannot make the simulated ports: ") + e.what();
        m_simulator.reset();
        RestoreFolders();
    }
}

void DemoSession::RestoreFolders() {
    for (const SavedVariable& saved : m_saved)
        Restore(saved);
    SetProfileFolder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

DemoSession::~DemoSession() {
    if (m_simulator)
        m_simulator->Stop();
    m_simulator.reset();
    if (m_ok)
        RestoreFolders();
}

std::string DemoSession::Folder() const {
    return m_folder.path().toStdString();
}

std::string DemoSession::PortFolder() const {
    return Folder() + "/ports";
}

} // namespace tensiq
