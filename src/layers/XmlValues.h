#pragma once

#include "raster/Color32.h"

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zp {

// The element values of project files. Every value is the text of an element; a reader that
// meets a missing or empty element where a number is expected stops with the conversion error
// that stored files have always produced.

// Reading a project file failed; the message is meant for the user.
class EXMLReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "%1" is the source type ("Null" for a missing or empty element), "%2" the target type.
constexpr const char* SVariantConvertError =
    "Variante des Typs (%1) konnte nicht in Typ (%2) konvertiert werden";
// "%1" is the element's text, "%2" the element's name.
constexpr const char* SInvalidXMLValue = "Der Wert \"%1\" im Element %2 ist ungültig";

// Floats: the value widened to double in general format with at most 15 significant digits and
// a decimal comma ("0,5", "1", "-2,25", "1,5E-7").
std::string FormatXMLFloat(float Value);
// Either decimal separator; false for anything but one number (surrounding blanks allowed).
bool ParseXMLFloat(std::string_view Text, float& Value);

// --- writing: each appends one child element (or comment) to Parent
pugi::xml_node WriteXMLText(pugi::xml_node Parent, const char* Name, std::string_view Text);
pugi::xml_node WriteXMLInteger(pugi::xml_node Parent, const char* Name, std::int64_t Value);
pugi::xml_node WriteXMLBoolean(pugi::xml_node Parent, const char* Name, bool Value);
// The 32-bit value as an unsigned number, alpha in the top byte.
pugi::xml_node WriteXMLColor(pugi::xml_node Parent, const char* Name, TColor32 Value);
pugi::xml_node WriteXMLFloat(pugi::xml_node Parent, const char* Name, float Value);
void WriteXMLComment(pugi::xml_node Parent, std::string_view Text);
// A picture element: Encode gives its text (Base64 of a PNG). Encoding dominates the writing of
// a project, so while a TXMLPictureBatch is open on this thread the element is written empty
// and Encode runs when the batch is finished, beside the others; Encode must stay valid until
// then. Without a batch it runs at once.
pugi::xml_node WriteXMLPicture(pugi::xml_node Parent, const char* Name, std::function<std::string()> Encode);

// Collects the picture encodings of one document being written.
class TXMLPictureBatch {
public:
    TXMLPictureBatch();
    // An unfinished batch drops its encodings (the document is being abandoned).
    ~TXMLPictureBatch();
    TXMLPictureBatch(const TXMLPictureBatch&) = delete;
    TXMLPictureBatch& operator=(const TXMLPictureBatch&) = delete;
    // Runs every encoding, on every core, and fills the elements; the output is the same as
    // without a batch. Rethrows the error of the first element whose encoding failed.
    void Finish(int Threads = 0);

private:
    friend pugi::xml_node WriteXMLPicture(pugi::xml_node, const char*, std::function<std::string()>);
    struct TJob {
        pugi::xml_node Node;
        std::function<std::string()> Encode;
    };
    std::vector<TJob> FJobs;
    TXMLPictureBatch* FPrevious;
};

// --- reading the first child element of that name; each throws EXMLReadError
std::string ReadXMLText(pugi::xml_node Parent, const char* Name);
// A signed 32-bit integer.
std::int32_t ReadXMLInteger(pugi::xml_node Parent, const char* Name);
// "true"/"false" in any case, or a number (0 is false).
bool ReadXMLBoolean(pugi::xml_node Parent, const char* Name);
// A 64-bit integer whose low 32 bits are the colour.
TColor32 ReadXMLColor(pugi::xml_node Parent, const char* Name);
// A finite float with either decimal separator.
float ReadXMLFloat(pugi::xml_node Parent, const char* Name);

// The error for an element whose text is not a value of its kind.
[[noreturn]] void ThrowInvalidXMLValue(std::string_view Text, const char* Name);

// The element after Node among its siblings, skipping comments; null at the end.
pugi::xml_node NextXMLElement(pugi::xml_node Node);

// Comments that remind a reader of a file of the numeric codes.
std::string BlurDirectionComment();
std::string EffectTypeComment();

} // namespace zp
