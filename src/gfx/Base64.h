#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zp {

// Base64 with the standard alphabet and "=" padding, without line breaks: 4 * ceil(n / 3)
// characters for n bytes.
std::string Base64Encode(std::span<const std::uint8_t> Data);

// The bytes of Text, or nothing at all when Text breaks a rule: its length must be a positive
// multiple of 4, every character except the final padding ("=" or "==") must belong to the
// alphabet. White space and line breaks are therefore errors too.
std::vector<std::uint8_t> Base64Decode(std::string_view Text);

} // namespace zp
