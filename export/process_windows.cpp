// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "export/windows_text.h"

namespace vantu {

// A missing disc or a failing drive is an error to report, never a dialogue that waits for
// somebody to click it away.
void prepareProcess() noexcept {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ::SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> programArguments(int argc, char* argv[]) {
    int count = 0;
    wchar_t** const wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        // Nothing better to be had: the C runtime's own.
        return {argv + 1, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(windows::utf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

}  // namespace vantu
