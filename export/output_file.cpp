// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>
#include <utility>

#include "geometry/text.h"

namespace vantu {
namespace detail {
namespace {

constexpr std::size_t bufferSize = std::size_t{256} << 10U;

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

std::string quotedPath(const std::filesystem::path& path) {
    return "'" + escapeText(path.string()) + "'";
}

// A name for a temporary file beside `destination`, hidden and unlikely to be taken: the file's
// own name (at most 200 bytes of it) and six letters or digits.
std::filesystem::path temporaryName(const std::filesystem::path& destination) {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 32U) ^ (counter++ * 0x9E37U);
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int i = 0; i < 6; ++i) {
        seed = seed * 6364136223846793005U + 1442695040888963407U;
        suffix += letters[(seed >> 33U) % letters.size()];
    }
    const std::string name = destination.filename().string().substr(0, 200);
    return destination.parent_path() / ("." + name + ".vantu-" + suffix);
}

// Writes all of `bytes` to `fd`. Returns 0 or the errno value of the failure.
int writeAll(int fd, std::span<const std::byte> bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return 0;
}

// Syncs the folder of `path`, so that a rename in it lasts. A file system that cannot sync
// folders is no failure.
int syncFolder(const std::filesystem::path& path) noexcept {
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

WriteError::WriteError(const std::string& target, int error, const std::string& reason)
    : WriteError(target, error, reason.empty() ? detail::reasonOf(error) : reason, 0) {}

WriteError::WriteError(const std::string& target, int error, std::string reason, int /*tag*/)
    : std::runtime_error("cannot write " + target + ": " + reason),
      m_error(error),
      m_reason(std::move(reason)) {}

OutputFile::OutputFile(std::string target, int fd, std::filesystem::path temporary,
                       std::filesystem::path destination)
    : m_target(std::move(target)),
      m_fd(fd),
      m_temporary(std::move(temporary)),
      m_destination(std::move(destination)) {}

OutputFile OutputFile::replacing(const std::filesystem::path& path) {
    const std::string target = detail::quotedPath(path);
    // Through symbolic links to the file they name, which is what gets replaced.
    std::error_code ignored;
    std::filesystem::path destination = std::filesystem::canonical(path, ignored);
    if (destination.empty()) {
        destination = path;
    }
    struct stat existing {};
    const bool exists = ::stat(destination.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        throw WriteError(target, EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(destination.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            throw WriteError(target, errno);
        }
        OutputFile file(target, fd, {}, {});
        file.m_buffer.reserve(detail::bufferSize);
        return file;
    }
    for (int attempt = 0;; ++attempt) {
        const std::filesystem::path temporary = detail::temporaryName(destination);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST && attempt < 100) {
                continue;
            }
            throw WriteError(target, errno);
        }
        OutputFile file(target, fd, temporary, destination);
        // A replaced file keeps its permissions.
        if (exists && ::fchmod(fd, existing.st_mode & 07777U) != 0) {
            file.fail(errno);
        }
        file.m_buffer.reserve(detail::bufferSize);
        return file;
    }
}

OutputFile OutputFile::standardOutput() {
    OutputFile file("to the standard output", STDOUT_FILENO, {}, {});
    file.m_ownsFd = false;
    file.m_buffer.reserve(detail::bufferSize);
    return file;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_ownsFd(other.m_ownsFd),
      m_temporary(std::move(other.m_temporary)),
      m_destination(std::move(other.m_destination)),
      m_buffer(std::move(other.m_buffer)),
      m_closed(other.m_closed),
      m_published(std::exchange(other.m_published, true)) {
    other.m_temporary.clear();
}

OutputFile::~OutputFile() {
    if (m_fd >= 0 && m_ownsFd) {
        ::close(m_fd);
    }
    if (!m_temporary.empty() && !m_published) {
        ::unlink(m_temporary.c_str());
    }
}

void OutputFile::fail(int error) const {
    throw WriteError(m_target, error);
}

void OutputFile::flushBuffer() {
    if (m_buffer.empty()) {
        return;
    }
    if (const int error = detail::writeAll(m_fd, m_buffer)) {
        fail(error);
    }
    m_buffer.clear();
}

void OutputFile::write(std::span<const std::byte> bytes) {
    if (m_closed) {
        throw std::logic_error("write after close");
    }
    if (m_buffer.size() + bytes.size() > detail::bufferSize) {
        flushBuffer();
    }
    if (bytes.size() >= detail::bufferSize) {
        if (const int error = detail::writeAll(m_fd, bytes)) {
            fail(error);
        }
        return;
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void OutputFile::close() {
    if (m_closed) {
        return;
    }
    flushBuffer();
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

void OutputFile::publish() {
    if (!m_closed) {
        throw std::logic_error("publish before close");
    }
    if (m_temporary.empty() || m_published) {
        return;
    }
    if (::rename(m_temporary.c_str(), m_destination.c_str()) != 0) {
        fail(errno);
    }
    m_published = true;
    if (const int error = detail::syncFolder(m_destination)) {
        fail(error);
    }
}

void OutputFile::commit() {
    close();
    publish();
}

}  // namespace vantu
