// tensiq-sim: simulated devices and empty ports on pseudo-terminals, linked as COM<n> in a folder.
#include "FaultNames.h"
#include "Simulator.h"
#include "Version.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <pthread.h>
#include <sstream>

using namespace tensiq::sim;

namespace {

bool ParseList(const std::string& text, std::size_t count, std::vector<int>& out) {
    std::stringstream in(text);
    std::string item;
    out.clear();
    while (std::getline(in, item, ','))
        try {
            out.push_back(std::stoi(item));
        } catch (const std::exception&) {
            return false;
        }
    if (out.size() == 1)
        out.resize(count, out[0]);
    return out.size() == count;
}

// 128 hex bytes ("0x12 34 ..."), wire order.
bool ParseHexBlock(const std::string& data, std::array<std::uint8_t, kBlockSize>& block,
                   std::string& error) {
    std::stringstream text(data);
    std::string word;
    std::size_t n = 0;
    while (text >> word) {
        if (n == kBlockSize) {
            error = "more than 128 bytes";
            return false;
        }
        try {
            block[n++] = static_cast<std::uint8_t>(std::stoul(word, nullptr, 16));
        } catch (const std::exception&) {
            error = "not a hex byte: " + word;
            return false;
        }
    }
    if (n != kBlockSize) {
        error = std::to_string(n) + " bytes, not 128";
        return false;
    }
    return true;
}

// A block file: 128 bytes in wire order, binary or hex text.
bool LoadBlock(const std::string& path, std::array<std::uint8_t, kBlockSize>& block,
               std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() == kBlockSize) {
        std::copy(data.begin(), data.end(), block.begin());
        return true;
    }
    if (!ParseHexBlock(data, block, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace

namespace {

int RunSimulator(int argc, char** argv) {
    CLI::App app{"Simulated rope-load devices on pseudo-terminals, linked as COM<n> in a port "
                 "folder. Runs until interrupted."};
    std::string dir;
    std::vector<int> devices, silent, noise;
    std::string identification = "L 1.08";
    double rate = 25.0;
    std::string readings, flags, blockFile, blockHex;
    std::vector<std::string> faults;
    bool paced = false, steady = false, randomNoise = false;
    double settle = 0;
    app.set_version_flag("--version", std::string("tensiq-sim ") + tensiq::kVersion);
    app.add_option("--dir", dir, "port folder to create the COM<n> links in")->required();
    app.add_option("--device", devices, "port number of a simulated device (repeatable)");
    app.add_option("--silent", silent, "port number of a port that never answers");
    app.add_option("--noise", noise,
                   "port number of a port that streams noise (a fixed sequence without L or M)");
    app.add_flag("--random-noise", randomNoise,
                 "noise ports send random bytes, which may look like a device's reply");
    app.add_option("--id", identification, "the six-character identification, e.g. \"LC1.10\"")
        ->check([](const std::string& s) {
            return s.empty() || s.size() > 6 ? "1 to 6 characters" : "";
        });
    app.add_option("--rate", rate, "live frames per second")->check(CLI::Range(0.1, 2000.0));
    app.add_option("--readings", readings, "twelve comma-separated rope readings, or one for all");
    app.add_option("--flags", flags, "twelve comma-separated status flags, or one for all");
    app.add_option("--block", blockFile,
                   "parameter block file: 128 bytes in wire order, binary or hex");
    app.add_option("--block-hex", blockHex, "parameter block as 128 hex bytes, wire order");
    app.add_flag("--paced", paced, "send at the real line rate of 230400 baud");
    app.add_flag("--steady", steady, "readings exactly as given, without ripple");
    app.add_option("--settle", settle,
                   "seconds in which the ropes even out toward their mean, the total unchanged")
        ->check(CLI::Range(0.0, 86400.0));
    std::string faultHelp = "inject a fault (repeatable):";
    for (const auto& [name, help] : FaultList())
        faultHelp += "\n  " + name + ": " + help;
    app.add_option("--fault", faults, faultHelp);
    CLI11_PARSE(app, argc, argv);

    if (devices.empty() && silent.empty() && noise.empty())
        devices.push_back(1);
    DeviceConfig config = DeviceConfig::Default();
    config.identification = identification;
    config.frameRate = rate;
    config.ripple = !steady;
    config.settleSeconds = settle;
    std::vector<int> values;
    if (!readings.empty()) {
        if (!ParseList(readings, 12, values)) {
            std::cerr << "tensiq-sim: --readings needs 1 or 12 numbers\n";
            return 2;
        }
        for (int k = 0; k < 12; ++k)
            config.readings[k] = static_cast<std::int16_t>(values[k]);
    }
    if (!flags.empty()) {
        if (!ParseList(flags, 12, values)) {
            std::cerr << "tensiq-sim: --flags needs 1 or 12 numbers\n";
            return 2;
        }
        for (int k = 0; k < 12; ++k)
            config.flags[k] = static_cast<std::uint8_t>(values[k]);
    }
    std::string error;
    if (!blockFile.empty() && !LoadBlock(blockFile, config.block, error)) {
        std::cerr << "tensiq-sim: " << error << "\n";
        return 2;
    }
    if (!blockHex.empty() && !ParseHexBlock(blockHex, config.block, error)) {
        std::cerr << "tensiq-sim: --block-hex: " << error << "\n";
        return 2;
    }
    for (const std::string& f : faults)
        if (!ApplyFault(f, config.faults, error)) {
            std::cerr << "tensiq-sim: " << error << "\n";
            return 2;
        }

    // Signals are taken by sigwait below, never by the simulator's thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        Simulator sim(dir);
        sim.SetPacing(paced);
        for (int n : devices) {
            sim.AddDevice(n, config);
            std::cout << "device \"" << identification << "\" at " << sim.LinkPath(n) << "\n";
        }
        for (int n : silent) {
            sim.AddSilent(n);
            std::cout << "silent port at " << sim.LinkPath(n) << "\n";
        }
        for (int n : noise) {
            sim.AddNoise(n, randomNoise);
            std::cout << "noisy port at " << sim.LinkPath(n) << "\n";
        }
        sim.Start();
        std::cout << "ready" << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
        sim.Stop();
    } catch (const std::exception& e) {
        std::cerr << "tensiq-sim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

// Whatever fails is said, never left to an abort.
int main(int argc, char** argv) {
    try {
        return RunSimulator(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tensiq-sim: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "tensiq-sim: an unknown failure ended the program\n");
    }
    return 1;
}
