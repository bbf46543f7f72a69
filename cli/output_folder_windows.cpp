// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/output_folder.h"

#include <windows.h>

#include <system_error>

#include "export/output_file.h"
#include "export/windows_text.h"
#include "geometry/text.h"

namespace vantu::cli {

namespace {
constexpr wchar_t lockName[] = L".vantu-render.lock";
}  // namespace

// The lock is a file in the folder that this run opens without sharing it: a second run cannot
// open it meanwhile. The system removes it when it is closed, also when the program ends.
LockedFolder::LockedFolder(const std::filesystem::path& path)
    : m_name("'" + escapeText(pathText(path)) + "'") {
    if (const std::error_code error = createFolder(path)) {
        throw FolderError("cannot create the folder " + m_name + ": " + error.message());
    }
    const HANDLE lock =
        ::CreateFileW((path / lockName).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        throw FolderError(error == ERROR_SHARING_VIOLATION
                              ? "another vantu-render is writing into the folder " + m_name
                              : "cannot lock the folder " + m_name + ": " +
                                    windows::reasonOf(error));
    }
    m_lock = lock;
}

LockedFolder::~LockedFolder() {
    ::CloseHandle(m_lock);
}

}  // namespace vantu::cli
