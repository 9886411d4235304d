#pragma once

#include <QString>

#include <cstdint>

namespace zp {

// The version facts of a program file.
struct TFileVersionInfo {
    QString FileType;
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyRight;
    QString LegalTradeMarks;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    QString SpecialBuildStr;
    QString PrivateBuildStr;
    QString FileFunction;
    bool DebugBuild = false;
    bool PreRelease = false;
    bool SpecialBuild = false;
    bool PrivateBuild = false;
    bool Patched = false;
    bool InfoInferred = false;
};

// FileType names the kind of file for any file. The version strings exist only for this
// program's own file, which carries them compiled in; any other file leaves them empty.
TFileVersionInfo ReadFileVersionInfo(const QString& FileName);

// The kind of program file, by file type and subtype (drivers, fonts, virtual devices).
QString FileFunctionName(std::uint32_t FileType, std::uint32_t SubType);

// "3.0.0.0" gives 3000: the version with its dots removed, read as a decimal number; 0 when
// what remains is no number.
int VersionNumber(const QString& FileVersion);

} // namespace zp
