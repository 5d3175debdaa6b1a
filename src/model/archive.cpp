#include "model/archive.h"

#include <cstring>
#include <string>

namespace qelto::model {

ArchiveEndOfFile::ArchiveEndOfFile(std::size_t offset)
    : std::runtime_error("the file ends early, at byte " + std::to_string(offset)),
      offset_(offset) {}

Archive Archive::forStoring() {
    return Archive(true);
}

Archive Archive::forLoading(std::span<const std::uint8_t> bytes) {
    Archive ar(false);
    ar.in_ = bytes;
    return ar;
}

std::size_t Archive::position() const {
    return storing_ ? out_.size() : pos_;
}

const std::uint8_t* Archive::take(std::size_t count) {
    if (count > in_.size() - pos_) {
        throw ArchiveEndOfFile(pos_);
    }
    const std::uint8_t* p = in_.data() + pos_;
    pos_ += count;
    return p;
}

void Archive::transfer(std::uint8_t& value) {
    if (storing_) {
        out_.push_back(value);
    } else {
        value = *take(1);
    }
}

void Archive::transfer(std::uint16_t& value) {
    if (storing_) {
        out_.push_back(static_cast<std::uint8_t>(value));
        out_.push_back(static_cast<std::uint8_t>(value >> 8));
    } else {
        const std::uint8_t* p = take(2);
        value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
}

void Archive::transfer(std::uint32_t& value) {
    if (storing_) {
        for (int shift = 0; shift < 32; shift += 8) {
            out_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    } else {
        const std::uint8_t* p = take(4);
        value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
}

void Archive::transfer(std::span<std::uint8_t> block) {
    if (storing_) {
        out_.insert(out_.end(), block.begin(), block.end());
    } else if (!block.empty()) {
        std::memcpy(block.data(), take(block.size()), block.size());
    }
}

void Archive::transfer(std::span<char> block) {
    transfer(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(block.data()), block.size()));
}

void Archive::transferString(std::string& text) {
    if (storing_) {
        const std::size_t n = text.size();
        if (n < 0xFF) {
            out_.push_back(static_cast<std::uint8_t>(n));
        } else {
            out_.push_back(0xFF);
            // 0xFFFE is never written as a u16 length: older readers took it as a marker.
            if (n < 0xFFFE) {
                auto n16 = static_cast<std::uint16_t>(n);
                transfer(n16);
            } else {
                std::uint16_t marker = 0xFFFF;
                transfer(marker);
                auto n32 = static_cast<std::uint32_t>(n);
                transfer(n32);
            }
        }
        out_.insert(out_.end(), text.begin(), text.end());
        return;
    }
    std::uint8_t n8 = 0;
    transfer(n8);
    std::size_t length = n8;
    if (n8 == 0xFF) {
        std::uint16_t n16 = 0;
        transfer(n16);
        length = n16;
        if (n16 == 0xFFFF) {
            std::uint32_t n32 = 0;
            transfer(n32);
            length = n32;
        }
    }
    // take() checks the length against what is left before anything is allocated, so a damaged
    // length cannot ask for gigabytes.
    const std::uint8_t* p = take(length);
    text.assign(reinterpret_cast<const char*>(p), length);
}

void Archive::pad(std::size_t count) {
    if (storing_) {
        out_.insert(out_.end(), count, 0);
    } else {
        take(count);
    }
}

}  // namespace qelto::model
