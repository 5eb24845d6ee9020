#pragma once
// Runs one of the project's programs the way a user's script would, capturing what it prints.
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace tensiq::test {

struct ToolResult {
    int status = -1;
    std::string out; // standard output and, after it, standard error
};

inline ToolResult RunTool(const std::string& commandLine) {
    ToolResult result;
    FILE* pipe = ::popen((commandLine + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

inline std::string ReadFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

} // namespace tensiq::test
