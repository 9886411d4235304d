#include "files/FileError.h"

namespace zp {

std::string FormatFileText(const char* Text, const std::string& Arg1, const std::string& Arg2) {
    std::string Result;
    for (const char* P = Text; *P; ++P) {
        if (P[0] == '%' && (P[1] == '1' || P[1] == '2')) {
            Result += P[1] == '1' ? Arg1 : Arg2;
            ++P;
        } else {
            Result += *P;
        }
    }
    return Result;
}

void RaiseFileError(TFileErrorKind Kind, const char* Text, const std::string& Arg1, const std::string& Arg2) {
    throw EFileError(Kind, FormatFileText(Text, Arg1, Arg2));
}

} // namespace zp
