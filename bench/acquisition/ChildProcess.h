#pragma once
// Another program run to its end: its standard output and exit status.
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tensiq::bench {

struct ChildResult {
    bool started = false;
    int status = -1;    // exit status; -1 when it did not exit normally
    std::string output; // standard output
};

// Runs argv[0] (a path, or a name looked up in PATH) with the bench's environment; standard
// error goes to errorFile (empty: discarded). whileRunning, when given, is called once the child
// has started, before its output is read: the child must not write more than a pipe holds
// meanwhile.
ChildResult RunChild(const std::vector<std::string>& argv, const std::string& errorFile = {},
                     const std::function<void(pid_t)>& whileRunning = {});

// The path of a program in PATH, or empty.
std::string FindProgram(const std::string& name);

} // namespace tensiq::bench
