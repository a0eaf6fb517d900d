// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tevusb::data {

// Writes a file beside its target and renames it over the target only when every byte
// reached the disk, so a full disk or an I/O error never leaves a truncated file where a
// good one was. A target that exists but is write-protected is refused, as an in-place
// rewrite would be.
class AtomicFile {
  public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // Appends bytes; a failure is remembered and makes commit() fail.
    void write(std::string_view bytes);
    // Flushes, syncs and renames over the target. False on any earlier or final error.
    bool commit();
    // Why the file was refused or not written, in a few words a flyer reads ("its folder
    // does not exist", "the disk is full"); empty while nothing went wrong.
    const std::string& reason() const { return m_reason; }

  private:
    void discard();
    // Keeps the first reason: later errors are mostly its consequences.
    void fail(std::string reason);

    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    int m_fd = -1;
    bool m_failed = false;
    std::string m_reason;
};

// Buffers small writes into larger ones for an AtomicFile; flush() before commit().
class BufferedWriter {
  public:
    explicit BufferedWriter(AtomicFile& file) : m_file(file) { m_buffer.reserve(kChunk); }
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    std::string& buffer() { return m_buffer; }
    // Hands the buffer to the file once it has grown past a chunk.
    void maybeFlush() {
        if (m_buffer.size() >= kChunk) {
            flush();
        }
    }
    void flush() {
        m_file.write(m_buffer);
        m_buffer.clear();
    }

  private:
    static constexpr std::size_t kChunk = 1 << 16;
    AtomicFile& m_file;
    std::string m_buffer;
};

}  // namespace tevusb::data
