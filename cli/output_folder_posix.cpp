// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/output_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "export/output_file.h"
#include "geometry/text.h"

namespace vantu::cli {

LockedFolder::LockedFolder(const std::filesystem::path& path)
    : m_name("'" + escapeText(pathText(path)) + "'") {
    if (const std::error_code error = createFolder(path)) {
        throw FolderError("cannot create the folder " + m_name + ": " + error.message());
    }
    m_fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        throw FolderError("cannot open the folder " + m_name + ": " +
                          std::generic_category().message(errno));
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(m_fd);
        throw FolderError(error == EWOULDBLOCK
                              ? "another vantu-render is writing into the folder " + m_name
                              : "cannot lock the folder " + m_name + ": " +
                                    std::generic_category().message(error));
    }
}

LockedFolder::~LockedFolder() {
    ::close(m_fd);
}

}  // namespace vantu::cli
