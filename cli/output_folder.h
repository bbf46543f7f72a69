// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// A folder that one run of vantu-render fills with files, the gallery's or the turntable's.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vantu::cli {

// A folder that could not be made, locked or cleared. The message names it and says why.
class FolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The folder `path`, made when missing (createFolder: through a symbolic link too, dangling or
// not) and locked (flock) for as long as this lives, so that two runs never mix their files in
// one folder: a second run into it meanwhile is refused at once.
class LockedFolder {
public:
    // Throws FolderError: "cannot create the folder 'g': Not a directory", "another vantu-render
    // is writing into the folder 'g'".
    explicit LockedFolder(const std::filesystem::path& path);
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    ~LockedFolder();

    // How messages name the folder: "'g'", as given, escaped.
    [[nodiscard]] const std::string& name() const noexcept { return m_name; }

private:
    std::string m_name;
    int m_fd = -1;           // the folder, flock()ed
    void* m_lock = nullptr;  // Windows: the lock file's handle
};

}  // namespace vantu::cli
