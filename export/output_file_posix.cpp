// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/output_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "export/output_file_shared.h"

namespace vantu {
namespace detail {
namespace {

// Makes a new temporary file beside `destination`, hidden and not taken before: the file's own
// name (at most 200 bytes of it) and six letters or digits that mkostemp chooses. Returns its
// descriptor (-1 with errno) and sets `temporary` to its name.
int makeTemporary(const std::filesystem::path& destination, std::filesystem::path& temporary) {
    const std::string name = destination.filename().string().substr(0, 200);
    std::string pattern = (destination.parent_path() / ("." + name + ".vantu-XXXXXX")).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    temporary = pattern;
    return fd;
}

// The process's file mode creation mask, read from /proc/self/status without changing it (as
// umask() would, for every thread); 077 when it cannot be read, the mask that keeps a file
// private.
mode_t creationMask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            const std::string_view digits = std::string_view(line).substr(6);
            const std::size_t first = digits.find_first_not_of(" \t");
            unsigned mask = 0;
            if (first != std::string_view::npos &&
                std::from_chars(digits.data() + first, digits.data() + digits.size(), mask, 8).ec ==
                    std::errc()) {
                return static_cast<mode_t>(mask & 0777U);
            }
        }
    }
    return 077;
}

// How long an output may block before the stop check is asked again.
constexpr int waitMilliseconds = 100;

// What writeAll returns when the reader of a pipe or device took longer than it may.
constexpr int readerTooSlow = -1;

// How long a reader may take in all, in milliseconds, when it is waited for briefly.
constexpr int briefWaitMilliseconds = 1000;

// Writes all of `bytes` to `fd`. Returns 0, the errno value of the failure, or readerTooSlow. A
// regular file is written in one go. A pipe, device or socket may block for as long as its
// reader likes: it is written a pipe's atomic size at a time once it can take it, with the stop
// check asked every tenth of a second while it cannot; `waitLeft` (milliseconds, -1 for no
// bound) is what the waits may still take, and shrinks by what they took.
int writeAll(int fd, std::span<const std::byte> bytes, bool mayBlock, int& waitLeft) {
    while (!bytes.empty()) {
        std::size_t size = bytes.size();
        if (mayBlock) {
            pollfd ready{fd, POLLOUT, 0};
            const int timeout =
                waitLeft < 0 ? waitMilliseconds : std::min(waitLeft, waitMilliseconds);
            const auto start = std::chrono::steady_clock::now();
            const int n = ::poll(&ready, 1, timeout);
            const int error = errno;
            if (waitLeft >= 0) {
                const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
                const int spent = std::max(static_cast<int>(waited.count()), n == 0 ? timeout : 0);
                waitLeft = std::max(0, waitLeft - spent);
                if (n == 0 && waitLeft == 0) {
                    return readerTooSlow;
                }
            }
            checkForStop();
            if (n < 0 && error != EINTR) {
                return error;
            }
            if (n <= 0) {
                continue;
            }
            size = std::min<std::size_t>(size, PIPE_BUF);
        }
        const ssize_t n = ::write(fd, bytes.data(), size);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return 0;
}

// `fd` moved above the standard streams, which it must never stand in for; -1 stays -1.
int aboveStandardStreams(int fd) noexcept {
    if (fd < 0 || fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int error = errno;
    ::close(fd);
    errno = error;
    return moved;
}

// Opens the FIFO `path` for writing. Waiting unbounded, it waits for a reader with the stop
// check asked meanwhile, and the descriptor blocks again once open; briefly, it fails at once
// with ENXIO when there is no reader, and the descriptor stays non-blocking. -1 with errno on
// failure.
int openFifo(const std::filesystem::path& path, ReaderWait wait) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            const int flags = wait == ReaderWait::briefly ? 0 : ::fcntl(fd, F_GETFL);
            if (flags < 0 ||
                (wait == ReaderWait::unbounded && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)) {
                const int error = errno;
                ::close(fd);
                errno = error;
                return -1;
            }
            return aboveStandardStreams(fd);
        }
        if ((errno != ENXIO || wait == ReaderWait::briefly) && errno != EINTR) {
            return -1;
        }
        checkForStop();
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMilliseconds));
    }
}

// Whether `path` is one of the links in /proc/self/fd (such as /dev/stdout's), which name an
// open file, pipe or socket rather than a path, and are opened rather than followed.
bool isOpenFileLink(const std::filesystem::path& path) {
    std::error_code error;
    static const std::filesystem::path openFiles =
        std::filesystem::canonical("/proc/self/fd", error);
    const std::filesystem::path folder =
        std::filesystem::canonical(path.parent_path().empty() ? "." : path.parent_path(), error);
    return !error && !openFiles.empty() && folder == openFiles;
}

// The standard stream (0, 1 or 2) that `path`, as followLinks() leaves it, names, or -1.
int standardStreamNamed(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '2' && isOpenFileLink(path)) {
        return name[0] - '0';
    }
    return -1;
}

// Syncs the folder of `path`, so that a rename in it lasts. A file system that cannot sync
// folders is no failure.
int syncFolder(const std::filesystem::path& path) noexcept {
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const int fd = aboveStandardStreams(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd < 0) {
        return errno;
    }
    int error = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

}  // namespace
}  // namespace detail

std::filesystem::path followLinks(std::filesystem::path path) {
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode) ||
            detail::isOpenFileLink(path)) {
            return path;
        }
        if (links == 40) {
            throw std::system_error(ELOOP, std::generic_category());
        }
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            throw std::system_error(error);
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

std::error_code createFolder(const std::filesystem::path& folder) {
    // "frames/" is the folder "frames", and a link of that name is followed like any other.
    std::filesystem::path path = folder;
    while (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    std::error_code error;
    try {
        path = followLinks(path);
    } catch (const std::system_error& e) {
        return e.code();
    }
    std::filesystem::create_directories(path, error);
    // Something other than a folder, or a link to one, already has the name.
    if (error == std::errc::file_exists) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    return error;
}

OutputFile OutputFile::replacing(const std::filesystem::path& path, ReaderWait wait) {
    const std::string target = detail::quotedPath(path);
    // Through symbolic links to the file they name, which is what gets replaced or made.
    std::filesystem::path destination;
    try {
        destination = followLinks(path);
    } catch (const std::system_error& e) {
        throw WriteError(target, e.code().value());
    }
    // /dev/stdout and its kind: the stream itself, as it is, also when it was closed.
    if (const int stream = detail::standardStreamNamed(destination); stream >= 0) {
        const int fd = ::fcntl(stream, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        if (fd < 0) {
            throw WriteError(target, errno);
        }
        return direct(target, fd, true, wait);
    }
    struct stat existing {};
    const bool exists = ::stat(destination.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        throw WriteError(target, EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device, pipe or socket is written straight into, never replaced by a file.
        const int fd =
            S_ISFIFO(existing.st_mode)
                ? detail::openFifo(destination, wait)
                : detail::aboveStandardStreams(::open(
                      destination.c_str(),
                      O_WRONLY | O_CLOEXEC | (wait == ReaderWait::briefly ? O_NONBLOCK : 0)));
        if (fd < 0) {
            const int error = errno;
            if (error == ENXIO && S_ISFIFO(existing.st_mode)) {
                throw WriteError(target, error, "nothing is reading from " + target);
            }
            throw WriteError(target, error);
        }
        return direct(target, fd, true, wait);
    }
    // A file that may not be written is not replaced either, as the shell's > would refuse it.
    if (exists && ::faccessat(AT_FDCWD, destination.c_str(), W_OK, AT_EACCESS) != 0) {
        throw WriteError(target, errno);
    }
    {
        std::filesystem::path temporary;
        const int fd = detail::aboveStandardStreams(detail::makeTemporary(destination, temporary));
        if (fd < 0) {
            const int error = errno;
            if (error == EACCES || error == EPERM || error == EROFS) {
                const std::filesystem::path folder =
                    destination.parent_path().empty() ? "." : destination.parent_path();
                throw WriteError(target, error,
                                 "no file can be made in the folder " + detail::quotedPath(folder) +
                                     ": " + detail::reasonOf(error));
            }
            throw WriteError(target, error);
        }
        OutputFile file(target, fd, temporary, destination);
        // mkostemp makes the file 0600; a new file is made as open() with 0666 makes one.
        if (!exists && ::fchmod(fd, 0666U & ~detail::creationMask()) != 0) {
            file.fail(errno);
        }
        if (exists) {
            // The new file takes the old one's permissions, and its owner where that may be
            // given (by root).
            if (::fchmod(fd, existing.st_mode & 07777U) != 0) {
                file.fail(errno);
            }
            if (::geteuid() == 0 && ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
                file.fail(errno);
            }
            if (::geteuid() == 0 && ::fchmod(fd, existing.st_mode & 07777U) != 0) {
                file.fail(errno);  // fchown clears set-user-ID and set-group-ID bits
            }
        }
        file.m_buffer.reserve(detail::bufferSize);
        return file;
    }
}

OutputFile OutputFile::standardOutput() {
    return direct("to the standard output", STDOUT_FILENO, false, ReaderWait::unbounded);
}

OutputFile OutputFile::direct(const std::string& target, int fd, bool ownsFd, ReaderWait wait) {
    OutputFile file(target, fd, {}, {});
    file.m_ownsFd = ownsFd;
    file.m_mayBlock = true;
    file.m_waitLeft = wait == ReaderWait::briefly ? detail::briefWaitMilliseconds : -1;
    file.m_buffer.reserve(detail::bufferSize);
    return file;
}

OutputFile::~OutputFile() {
    if (m_fd >= 0 && m_ownsFd) {
        ::close(m_fd);
    }
    if (!m_temporary.empty() && !m_published) {
        ::unlink(m_temporary.c_str());
    }
}

void OutputFile::writeOut(std::span<const std::byte> bytes) {
    const int error = detail::writeAll(m_fd, bytes, m_mayBlock, m_waitLeft);
    if (error == detail::readerTooSlow) {
        throw WriteError(m_target, 0, "the reader of " + m_target + " took more than a second");
    }
    if (error != 0) {
        fail(error);
    }
}

void OutputFile::close() {
    if (m_closed) {
        return;
    }
    flushBuffer();
    std::vector<std::byte>().swap(m_buffer);  // a closed file may wait long to be published
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        fail(errno);
    }
    if (S_ISREG(info.st_mode) && ::fsync(m_fd) != 0) {
        fail(errno);
    }
    m_closed = true;
    if (m_ownsFd) {
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0) {
            fail(errno);
        }
    }
}

void OutputFile::moveIntoPlace() {
    if (::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
        fail(errno);
    }
    m_published = true;
    if (const int error = detail::syncFolder(m_destination)) {
        fail(error);
    }
}

}  // namespace vantu
