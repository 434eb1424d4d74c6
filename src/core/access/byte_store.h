#pragma once
// Positioned byte access: the one thing the field access layer needs. It runs over record
// buffers in memory, so a record is built and checked in memory before the document's one
// write puts it in the file (the document is the only thing that writes files).

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vorlan {

// A read or write that the store cannot carry out (beyond the end, I/O failure).
class AccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A record (or any run of bytes) in memory, read and written at positions. Every store is
// one: the document is the only thing that touches files.
class ByteStore {
public:
    ByteStore() = default;
    explicit ByteStore(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t size() const { return bytes_.size(); }
    // Both throw AccessError when the range does not lie inside the store.
    void read(std::uint64_t offset, std::span<std::uint8_t> out) const;
    void write(std::uint64_t offset, std::span<const std::uint8_t> in);
    std::vector<std::uint8_t> readBlock(std::uint64_t offset, std::size_t count) const;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace vorlan
