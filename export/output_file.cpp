// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/output_file.h"

#include <atomic>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "export/output_file_shared.h"
#include "geometry/text.h"

namespace vantu {
std::filesystem::path filePath(std::string_view text) {
    return {std::u8string(text.begin(), text.end())};
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

namespace detail {
namespace {

// Called while an output blocks; may throw to give up. Set once, before any output.
std::atomic<OutputFile::StopCheck> stopCheck{nullptr};

}  // namespace

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

std::string quotedPath(const std::filesystem::path& path) {
    return "'" + escapeText(pathText(path)) + "'";
}

void checkForStop() {
    if (const OutputFile::StopCheck check = stopCheck.load(std::memory_order_relaxed)) {
        check();
    }
}

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

void OutputFile::setStopCheck(StopCheck check) noexcept {
    detail::stopCheck.store(check, std::memory_order_relaxed);
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_fd(std::exchange(other.m_fd, -1)),
      m_ownsFd(other.m_ownsFd),
      m_mayBlock(other.m_mayBlock),
      m_waitLeft(other.m_waitLeft),
      m_temporary(std::move(other.m_temporary)),
      m_destination(std::move(other.m_destination)),
      m_buffer(std::move(other.m_buffer)),
      m_closed(other.m_closed),
      m_published(std::exchange(other.m_published, true)) {
    other.m_temporary.clear();
}

void OutputFile::fail(int error) const {
    throw WriteError(m_target, error);
}

void OutputFile::flushBuffer() {
    if (m_buffer.empty()) {
        return;
    }
    writeOut(m_buffer);
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
        writeOut(bytes);
        return;
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

void OutputFile::publish() {
    if (!m_closed) {
        throw std::logic_error("publish before close");
    }
    if (m_temporary.empty() || m_published) {
        return;
    }
    moveIntoPlace();
}

void OutputFile::commit() {
    close();
    publish();
}

}  // namespace vantu
