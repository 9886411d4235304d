#pragma once

// Compiled-in version facts of the program.
#include "document/ProjectFile.h"

namespace zp {

constexpr const char* ProductName = "Zelk - Pixaro";
constexpr const char* ProductVersion = ProjectProgramVersion;
constexpr const char* CompanyName = "Zelk-Pixaro";
constexpr const char* FileDescription = "Zelk - Pixaro, Editor für animierte GIF-Banner";
constexpr const char* LegalCopyRight = "© Zelk-Pixaro. Alle Rechte vorbehalten.";
// The application's title, also the caption of plain information boxes.
constexpr const char* ApplicationTitle = "Zelk-Pixaro";

} // namespace zp
