// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What both programs set up about their process before anything else, so that writing a
// picture can never land in the wrong file or kill the program, and their arguments as text.

#include <string>
#include <vector>

namespace vantu {

// Makes sure file descriptors 0, 1 and 2 are open: each closed one gets /dev/null, read-only,
// so that reading it gives nothing and writing it fails with EBADF ("Bad file descriptor") as
// writing a closed stream would. From then on no file the program opens can take the place of
// a standard stream. Then ignores SIGXFSZ, so that a write beyond the file-size limit fails
// with EFBIG ("File too large") instead of killing the program. On Windows, turns off the
// system's dialogues for a failing drive, which becomes an error like any other, and has the
// console show the program's UTF-8 as UTF-8. Call first in main().
void prepareProcess() noexcept;

// The arguments after the program's name, in UTF-8: main()'s `argv` as it is on Linux; on
// Windows, where `argv` holds them in the system's ANSI code page (a name in Greek or Japanese
// would come out as question marks), the wide command line split as the C runtime splits it.
[[nodiscard]] std::vector<std::string> programArguments(int argc, char* argv[]);

}  // namespace vantu
