#pragma once

// Compiled-in version facts of the program.
namespace zp {

constexpr const char* ProductName = "Zelk - Pixaro";
constexpr const char* ProductVersion = "3.0.0.0";

} // namespace zp
