#pragma once
// Positioned byte access: the one thing the field access layer needs from a file.
// The same layer runs over a file on disk and over a record buffer in memory, so a
// record can be built and checked in memory before one write puts it in the file.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>
#include <vector>

namespace vorlan {

// A read or write that the store cannot carry out (beyond the end, I/O failure).
class AccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteStore {
public:
    virtual ~ByteStore() = default;
    virtual std::uint64_t size() const = 0;
    // Both throw AccessError when the range does not lie inside the store.
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    virtual void write(std::uint64_t offset, std::span<const std::uint8_t> in) = 0;

    std::vector<std::uint8_t> readBlock(std::uint64_t offset, std::size_t count);
};

class MemoryStore : public ByteStore {
public:
    MemoryStore() = default;
    explicit MemoryStore(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t size() const override { return bytes_.size(); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> in) override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// A file opened for positioned reading (and writing, unless opened read-only).
// Writes never extend the file: a record editor must not grow the executable.
class FileStore : public ByteStore {
public:
    enum class Mode { ReadOnly, ReadWrite };
    // Throws AccessError when the file cannot be opened in the requested mode.
    FileStore(const std::filesystem::path& path, Mode mode);

    std::uint64_t size() const override { return size_; }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> in) override;

private:
    std::fstream file_;
    std::uint64_t size_ = 0;
    Mode mode_;
};

}  // namespace vorlan
