#pragma once
// The CPU time a running process has used so far, from the scheduler's own count (the same
// count CLOCK_PROCESS_CPUTIME_ID reads inside a process), in nanoseconds: precise enough to
// measure a stretch of seconds of another process.
#include <sys/types.h>

namespace tensiq::bench {

// Summed over the process's live threads; -1 when the process is gone or the kernel keeps no
// such count.
double ProcessRuntimeSeconds(pid_t pid);

} // namespace tensiq::bench
