#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace zp {

// The version the project writer puts into its files; readers tell the layouts apart by it.
constexpr const char* ProjectProgramVersion = "3.0.0.0";

// Reading or writing a project file failed; what() is a German message naming the file.
class EProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What one project file may make the program hold. A file from the field stays far below;
// a damaged or hostile one is refused before it takes the machine's memory.
struct TProjectLimits {
    std::int64_t MaxFileBytes = std::int64_t{1} << 30;
    int MaxFrames = 10000;
    int MaxLayersPerFrame = 10000;
    // All backgrounds and layer bitmaps together (1 GiB of pixels).
    std::int64_t MaxTotalPixels = std::int64_t{1} << 28;
    // One background or layer bitmap.
    std::int64_t MaxSurfacePixels = std::int64_t{1} << 26;
};

// The layout number of a ProgramVersion text: the text without its first three dots, read as
// a decimal number ("3.0.0.0" is 3000, "2.0.0.1" is 2001, "3.0" is 30). Throws EXMLReadError
// for anything else.
int ProjectFileVersion(std::string_view ProgramVersion);

} // namespace zp
