// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// What both programs set up about their process before anything else, so that writing a
// picture can never land in the wrong file or kill the program.

namespace vantu {

// Makes sure file descriptors 0, 1 and 2 are open: each closed one gets /dev/null, read-only,
// so that reading it gives nothing and writing it fails with EBADF ("Bad file descriptor") as
// writing a closed stream would. From then on no file the program opens can take the place of
// a standard stream. Then ignores SIGXFSZ, so that a write beyond the file-size limit fails
// with EFBIG ("File too large") instead of killing the program. On Windows, turns off the
// system's dialogues for a failing drive, which becomes an error like any other. Call first in
// main().
void prepareProcess() noexcept;

}  // namespace vantu
