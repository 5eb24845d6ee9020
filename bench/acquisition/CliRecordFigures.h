#pragma once
// tensiq-cli record at the line limit, a process of its own, against a paced simulator: CPU
// per frame over a stretch of its steady stream, and system calls and user-space instructions
// per frame, each as the difference of a long and a short run so that start-up drops out. And
// an independent bare reader.
#include "MeanInterval.h"

#include <string>

namespace tensiq::bench {

struct BareReaderFigures {
    double cpuPerFrameUs = -1;
    long frames = 0;
    std::string failure;
};

// The independent bare reader against a fresh paced simulator for about that long; with a
// record file, as a bare recorder.
BareReaderFigures MeasureBareReader(const std::string& dir, const std::string& bareReader,
                                    double seconds, const std::string& recordFile = {});

struct CliRecordFigures {
    double cpuPerFrameUs = -1;             // record, 4 s of its steady stream; median of the rounds
    double bareCpuPerFrameUs = -1;         // the bare reader alone, in the same rounds; median
    MeanInterval ratio;                    // record against the bare reader, each round
    double bareRecorderCpuPerFrameUs = -1; // the bare recorder alone, same rounds; median
    MeanInterval recorderRatio;            // the bare recorder against the bare reader
    MeanInterval ratioToRecorder;          // record against the bare recorder
    int rounds = 0;
    double syscallsPerFrame = -1;     // strace -c -f, 3000 minus 500 frames
    double instructionsPerFrame = -1; // callgrind, 5000 minus 1000 frames
    std::string syscallNote, instructionNote, failure;
};

// cli is the program's path; dir a scratch folder. The CPU is measured in rounds, each the bare
// reader, the bare recorder and record, one after the other and each alone, so that all meet the
// same machine: a reader that runs beside another finds the processors awake and pays less for
// a wake-up.
CliRecordFigures MeasureCliRecord(const std::string& dir, const std::string& cli,
                                  const std::string& bareReader, int rounds);

} // namespace tensiq::bench
