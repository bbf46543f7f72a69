// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Runs a program with arguments, untouched by any shell, and collects what it printed.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantu::testing_support {

struct Outcome {
    int status = -1;  // the exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `program` with `args`; its stdout goes to `stdoutTo` instead when that is given (and
// Outcome::out is then empty).
inline Outcome runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& stdoutTo = "") {
    // Unique to the call, so that threads may run programs at once.
    static std::atomic<int> calls{0};
    const std::string stem = testing::TempDir() + "vantu-run-" + std::to_string(::getpid()) + "-" +
                             std::to_string(calls++);
    const std::string out = stdoutTo.empty() ? stem + ".out" : stdoutTo;
    const std::string err = stem + ".err";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int o = stdoutTo.empty() ? ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)
                                       : ::open(out.c_str(), O_WRONLY);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(o, 1);
        ::dup2(e, 2);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (stdoutTo.empty()) {
        outcome.out = slurp(out);
        std::remove(out.c_str());
    }
    outcome.err = slurp(err);
    std::remove(err.c_str());
    return outcome;
}

// The words of `line` as a POSIX shell (`shell`) splits them: the shell's printf prints each one,
// followed by a zero byte. Bash reads the $'...' that Debian 12's /bin/sh does not.
inline std::vector<std::string> shellWords(const std::string& line,
                                           const std::string& shell = "/bin/bash") {
    const Outcome outcome = runProgram(shell, {"-c", "printf '%s\\0' " + line});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::vector<std::string> words;
    for (std::size_t start = 0; start < outcome.out.size();) {
        const std::size_t end = outcome.out.find('\0', start);
        words.push_back(outcome.out.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

}  // namespace vantu::testing_support
