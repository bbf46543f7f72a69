// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/output_file.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>
#include <system_error>
#include <utility>

#include "export/output_file_shared.h"
#include "export/windows_text.h"

namespace vantu {
namespace detail {
namespace {

HANDLE handleOf(int fd) noexcept {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// Makes a new temporary file beside `destination`, not taken before: the file's own name (at
// most 200 characters of it) and six random letters. Returns its descriptor, or -1 with the
// system's error in `error`, and sets `temporary` to its name.
int makeTemporary(const std::filesystem::path& destination, std::filesystem::path& temporary,
                  DWORD& error) {
    const std::wstring name = destination.filename().wstring().substr(0, 200);
    std::random_device random;
    std::uniform_int_distribution<int> letter(0, 25);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring suffix;
        for (int i = 0; i < 6; ++i) {
            suffix += static_cast<wchar_t>(L'a' + letter(random));
        }
        temporary = destination.parent_path() / (L"." + name + L".vantu-" + suffix);
        const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS) {
                continue;
            }
            return -1;
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY);
        if (fd < 0) {
            error = ERROR_TOO_MANY_OPEN_FILES;
            ::CloseHandle(handle);
            ::DeleteFileW(temporary.c_str());
            return -1;
        }
        return fd;
    }
    return -1;
}

}  // namespace
}  // namespace detail

// Windows resolves its links itself, when the file is opened.
std::filesystem::path followLinks(std::filesystem::path path) {
    return path;
}

std::error_code createFolder(const std::filesystem::path& folder) {
    std::filesystem::path path = folder;
    while (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    std::error_code error;
    std::filesystem::create_directories(path, error);
    // Something other than a folder already has the name.
    if (error == std::errc::file_exists) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    return error;
}

OutputFile OutputFile::replacing(const std::filesystem::path& path, ReaderWait /*wait*/) {
    const std::string target = detail::quotedPath(path);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw WriteError(target, EISDIR);
    }
    // A file that may not be written is not replaced either.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw WriteError(target, EACCES);
    }
    std::filesystem::path temporary;
    DWORD error = 0;
    const int fd = detail::makeTemporary(path, temporary, error);
    if (fd < 0) {
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            const std::filesystem::path folder =
                path.parent_path().empty() ? "." : path.parent_path();
            throw WriteError(target, 0,
                             "no file can be made in the folder " + detail::quotedPath(folder) +
                                 ": " + windows::reasonOf(error));
        }
        throw WriteError(target, 0, windows::reasonOf(error));
    }
    OutputFile file(target, fd, temporary, path);
    file.m_buffer.reserve(detail::bufferSize);
    return file;
}

OutputFile OutputFile::standardOutput() {
    // Bytes as they are, without a carriage return before each line feed.
    (void)::_setmode(1, _O_BINARY);
    return direct("to the standard output", 1, false, ReaderWait::unbounded);
}

OutputFile OutputFile::direct(const std::string& target, int fd, bool ownsFd, ReaderWait wait) {
    OutputFile file(target, fd, {}, {});
    file.m_ownsFd = ownsFd;
    file.m_mayBlock = true;
    file.m_waitLeft = wait == ReaderWait::briefly ? 1000 : -1;
    file.m_buffer.reserve(detail::bufferSize);
    return file;
}

OutputFile::~OutputFile() {
    if (m_fd >= 0 && m_ownsFd) {
        ::_close(m_fd);
    }
    if (!m_temporary.empty() && !m_published) {
        ::DeleteFileW(m_temporary.c_str());
    }
}

void OutputFile::writeOut(std::span<const std::byte> bytes) {
    const HANDLE handle = detail::handleOf(m_fd);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(EBADF);
    }
    while (!bytes.empty()) {
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30U));
        DWORD written = 0;
        if (::WriteFile(handle, bytes.data(), size, &written, nullptr) == 0) {
            throw WriteError(m_target, 0, windows::reasonOf(::GetLastError()));
        }
        bytes = bytes.subspan(written);
        detail::checkForStop();
    }
}

void OutputFile::close() {
    if (m_closed) {
        return;
    }
    flushBuffer();
    std::vector<std::byte>().swap(m_buffer);
    if (!m_temporary.empty() && ::FlushFileBuffers(detail::handleOf(m_fd)) == 0) {
        throw WriteError(m_target, 0, windows::reasonOf(::GetLastError()));
    }
    m_closed = true;
    if (m_ownsFd) {
        const int fd = std::exchange(m_fd, -1);
        if (::_close(fd) != 0) {
            fail(errno);
        }
    }
}

void OutputFile::moveIntoPlace() {
    if (::MoveFileExW(m_temporary.c_str(), m_destination.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        throw WriteError(m_target, 0, windows::reasonOf(::GetLastError()));
    }
    m_published = true;
}

}  // namespace vantu
