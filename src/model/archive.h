// The byte stream of document files: little-endian integers, fixed-width byte blocks and counted
// strings, written and read by the same calls so that one Serialize function describes the
// layout once for both directions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qelto::model {

// A load that runs past the end of the bytes. It carries the offset at which the missing item
// started, so the message can say where the file ends.
class ArchiveEndOfFile : public std::runtime_error {
  public:
    explicit ArchiveEndOfFile(std::size_t offset);
    std::size_t offset() const { return offset_; }

  private:
    std::size_t offset_;
};

class Archive {
  public:
    // An archive that appends everything passed to it.
    static Archive forStoring();
    // An archive that fills everything passed to it from bytes (which must outlive it).
    static Archive forLoading(std::span<const std::uint8_t> bytes);

    bool isStoring() const { return storing_; }
    bool isLoading() const { return !storing_; }

    void transfer(std::uint8_t& value);
    void transfer(std::uint16_t& value);
    void transfer(std::uint32_t& value);
    void transfer(std::span<std::uint8_t> block);
    void transfer(std::span<char> block);

    // Counted string: length below 255 in one byte; else 0xFF and a u16 below 0xFFFE; else 0xFF,
    // 0xFFFF and a u32.
    void transferString(std::string& text);

    // Storing writes count zero bytes; loading reads count bytes and drops them.
    void pad(std::size_t count);

    std::size_t position() const;
    const std::vector<std::uint8_t>& stored() const { return out_; }

  private:
    explicit Archive(bool storing) : storing_(storing) {}
    const std::uint8_t* take(std::size_t count);

    bool storing_;
    std::vector<std::uint8_t> out_;
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
};

}  // namespace qelto::model
