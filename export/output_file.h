// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// export/: writing pictures to files, on top of render/, for vantu-render and the window alike.
//
// A file written completely or not at all.

#include <cstddef>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vantu {

// A file that could not be written. The message names the file and gives the reason, as in
// "cannot write 'x.png': No space left on device".
class WriteError : public std::runtime_error {
public:
    // `target` as OutputFile::target() names it; `error` an errno value, 0 when the reason is
    // `reason` alone.
    WriteError(const std::string& target, int error, const std::string& reason = {});

    // The errno value of the failure, or 0.
    [[nodiscard]] int error() const noexcept { return m_error; }

    // Why, without the file's name: "No space left on device".
    [[nodiscard]] const std::string& reason() const noexcept { return m_reason; }

private:
    WriteError(const std::string& target, int error, std::string reason, int tag);

    int m_error;
    std::string m_reason;
};

// The file that the program's text `text` (UTF-8, as every text the program keeps) names. Its
// bytes as they are on Linux; on Windows read as UTF-8, where a std::string made into a path
// would be read in the C runtime's code page and a name in Greek would name another file.
[[nodiscard]] std::filesystem::path filePath(std::string_view text);

// `path` as the program's text, in UTF-8, for messages.
[[nodiscard]] std::string pathText(const std::filesystem::path& path);

// The path that `path` names once its symbolic links are followed, also when the file they
// lead to does not exist yet, so that a link is written through and never replaced. A relative
// link counts from its own folder. Throws std::system_error (ELOOP after 40 links, or why a
// link cannot be read).
[[nodiscard]] std::filesystem::path followLinks(std::filesystem::path path);

// Makes the folder `folder` and the folders above it that are missing, following a symbolic
// link, dangling or not, to the folder it names; a name with a slash at its end too. Returns why
// it could not ("Not a directory" when a file other than a folder has the name), or nothing.
[[nodiscard]] std::error_code createFolder(const std::filesystem::path& folder);

// How long writing may wait for a reader: for a FIFO to be opened by one, and for a pipe or a
// device that is full to take more.
enum class ReaderWait {
    // As long as the reader likes, the stop check asked every tenth of a second (vantu-render,
    // which a signal ends).
    unbounded,
    // Never for a FIFO that nobody reads, which is refused at once ("nothing is reading from
    // 'x.png'"), and at most a second in all for a reader to take the bytes: for a thread that
    // must never hang on a file, such as a window's.
    briefly,
};

// Bytes going to a file that holds them completely or not at all. A regular file (new or
// existing, also through symbolic links, dangling ones included) is replaced: the bytes go to a
// new temporary file in the target's own folder, which close() flushes, syncs and closes and
// publish() renames over the target. Until then the target is untouched, and an OutputFile
// destroyed before publish() removes its temporary file. The new file takes the old one's
// permissions (and, for root, its owner and group); hard links to the old file keep the old
// content. A device, FIFO or socket and the standard output are written directly and cannot be
// taken back; they are never replaced by a regular file. Every write, sync, close and rename is
// checked and throws WriteError. Not safe to share between threads.
class OutputFile {
public:
    // Called every tenth of a second while an output blocks (a FIFO without a reader, a full
    // pipe); it may throw to give the output up, which then throws what it threw.
    using StopCheck = void (*)();

    // Begins replacing `path`. Throws WriteError when its temporary file cannot be made (the
    // folder is missing or not writable), `path` is a folder or a file that may not be written
    // (EACCES, as the shell's > refuses it), and std::bad_alloc. Opening a FIFO, and every write
    // to a FIFO, pipe or device, waits for its reader as `wait` says.
    [[nodiscard]] static OutputFile replacing(const std::filesystem::path& path,
                                              ReaderWait wait = ReaderWait::unbounded);

    // Sets the check that every output that blocks asks from then on; nullptr for none.
    static void setStopCheck(StopCheck check) noexcept;

    // The standard output (file descriptor 1), written directly.
    [[nodiscard]] static OutputFile standardOutput();

    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&&) = delete;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // Removes the temporary file unless published; closes what close() did not.
    ~OutputFile();

    // Appends `bytes`, buffered.
    void write(std::span<const std::byte> bytes);

    // Writes out the buffer, syncs the file to its device (a regular file) and closes it: the
    // content is complete. Later calls do nothing.
    void close();

    // After close(): renames the temporary file over the target and syncs its folder. Does
    // nothing for a file written directly.
    void publish();

    // close(), then publish().
    void commit();

    // How messages name the file: "'x.png'" (as given, escaped) or "to the standard output".
    [[nodiscard]] const std::string& target() const noexcept { return m_target; }

private:
    OutputFile(std::string target, int fd, std::filesystem::path temporary,
               std::filesystem::path destination);
    // Written straight into `fd`, which it closes when `ownsFd`.
    static OutputFile direct(const std::string& target, int fd, bool ownsFd, ReaderWait wait);
    // Writes `bytes` straight out, unbuffered; throws WriteError.
    void writeOut(std::span<const std::byte> bytes);
    void flushBuffer();
    // The system's own part of publish(): moves the closed temporary file over the destination,
    // marks it published and makes the move last; throws WriteError.
    void moveIntoPlace();
    void fail(int error) const;

    std::string m_target;
    int m_fd = -1;
    bool m_ownsFd = true;                 // false for the standard output
    bool m_mayBlock = false;              // a pipe, device or socket: writes wait for it
    int m_waitLeft = -1;                  // milliseconds writes may still wait; -1: no bound
    std::filesystem::path m_temporary;    // empty when written directly
    std::filesystem::path m_destination;  // what publish() renames the temporary file to
    std::vector<std::byte> m_buffer;
    bool m_closed = false;
    bool m_published = false;
};

}  // namespace vantu
