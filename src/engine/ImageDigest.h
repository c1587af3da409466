#pragma once
// The SHA-256 digest that names a transfer image: the record of what a keyboard holds and the
// reports of a run compare images by it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zr4700 {

// The SHA-256 of size bytes at data, as 64 lower-case hex digits; empty when the system's
// digest could not be computed.
std::string Sha256Hex(const std::uint8_t* data, std::size_t size);
std::string Sha256Hex(const std::string& bytes);

// True when text is a digest as Sha256Hex writes it.
bool IsSha256Hex(const std::string& text);

} // namespace zr4700
