#pragma once

#include <stdexcept>
#include <string>

namespace zp {

// What went wrong with a file, so that a caller can react (a missing file may stay silent,
// everything else is reported with the message).
enum TFileErrorKind {
    fekNotFound,    // the file does not exist
    fekRead,        // the file could not be read
    fekWrite,       // the file could not be written; an existing file is unchanged
    fekUnsupported, // a kind of file or a variant of a format this program does not read
    fekTruncated,   // the data ends before the picture is complete
    fekTooLarge,    // more pixels than a surface may hold or memory allows
    fekMalformed    // the data break the rules of the format
};

// Failure of reading, decoding, encoding or writing a file. what() is a complete German
// sentence (UTF-8) for the user.
class EFileError : public std::runtime_error {
public:
    EFileError(TFileErrorKind Kind, const std::string& Message) : std::runtime_error(Message), FKind(Kind) {}
    TFileErrorKind Kind() const { return FKind; }

private:
    TFileErrorKind FKind;
};

// The German texts of file errors; "%1" stands for a format name or a file name, "%2" for a
// detail such as a library's own message.
namespace FileTexts {
constexpr const char* SNotFound = "Die Datei „%1“ wurde nicht gefunden.";
constexpr const char* SReadFailed = "Die Datei „%1“ konnte nicht gelesen werden.";
constexpr const char* SOpenFailed = "Die Datei „%1“ konnte nicht geöffnet werden: %2";
constexpr const char* SWriteFailed = "Die Datei „%1“ konnte nicht gespeichert werden: %2";
constexpr const char* SUnknownKind = "Dateien dieser Art („%1“) können nicht als Bild gelesen werden.";
constexpr const char* SFileTooLarge = "Die Datei ist zu groß.";
constexpr const char* SNoData = "Es sind keine Bilddaten vorhanden.";
constexpr const char* STruncated = "Die %1-Datei ist unvollständig.";
constexpr const char* SMalformed = "Die %1-Datei ist beschädigt (%2).";
constexpr const char* SUnsupported = "Diese Art von %1-Datei wird nicht unterstützt (%2).";
constexpr const char* STooLarge = "Das Bild ist zu groß (%2 Pixel).";
constexpr const char* SOutOfMemory = "Für das Bild ist nicht genug Speicher vorhanden.";
constexpr const char* SEmptyPicture = "Ein leeres Bild kann nicht gespeichert werden.";
constexpr const char* SEncodeFailed = "Das Bild konnte nicht als %1 kodiert werden (%2).";
} // namespace FileTexts

// Text with "%1" and "%2" replaced.
std::string FormatFileText(const char* Text, const std::string& Arg1, const std::string& Arg2 = {});

// Throws EFileError of Kind with Text formatted by Arg1 and Arg2.
[[noreturn]] void RaiseFileError(TFileErrorKind Kind, const char* Text, const std::string& Arg1 = {},
                                 const std::string& Arg2 = {});

} // namespace zp
