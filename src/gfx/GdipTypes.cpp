#include "gfx/GdipTypes.h"

namespace zp {

namespace {

std::string Compose(TGPStatus Status, const std::string& Detail) {
    std::string Text = std::string("Drawing error: ") + StatusName(Status);
    if (!Detail.empty()) Text += " (" + Detail + ")";
    return Text;
}

} // namespace

EGdipError::EGdipError(TGPStatus Status, const std::string& Detail)
    : std::runtime_error(Compose(Status, Detail)), FStatus(Status) {}

const char* StatusName(TGPStatus Status) {
    static const char* const Names[] = {"Ok",
                                        "GenericError",
                                        "InvalidParameter",
                                        "OutOfMemory",
                                        "ObjectBusy",
                                        "InsufficientBuffer",
                                        "NotImplemented",
                                        "Win32Error",
                                        "WrongState",
                                        "Aborted",
                                        "FileNotFound",
                                        "ValueOverflow",
                                        "AccessDenied",
                                        "UnknownImageFormat",
                                        "FontFamilyNotFound",
                                        "FontStyleNotFound",
                                        "NotTrueTypeFont",
                                        "UnsupportedGdiplusVersion",
                                        "GdiplusNotInitialized",
                                        "PropertyNotFound",
                                        "PropertyNotSupported"};
    const int Index = static_cast<int>(Status);
    if (Index < 0 || Index >= static_cast<int>(sizeof(Names) / sizeof(Names[0]))) return "UnknownStatus";
    return Names[Index];
}

} // namespace zp
