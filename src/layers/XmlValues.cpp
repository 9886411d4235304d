#include "layers/XmlValues.h"

#include "raster/Parallel.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace zp {

namespace {

std::string Fill(std::string Message, std::string_view First, std::string_view Second) {
    if (const auto P = Message.find("%1"); P != std::string::npos) Message.replace(P, 2, First);
    if (const auto P = Message.find("%2"); P != std::string::npos) Message.replace(P, 2, Second);
    return Message;
}

std::string_view Trimmed(std::string_view Text) {
    const auto Blank = [](char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; };
    while (!Text.empty() && Blank(Text.front())) Text.remove_prefix(1);
    while (!Text.empty() && Blank(Text.back())) Text.remove_suffix(1);
    return Text;
}

// The trimmed text of a value element; the conversion error when it is missing or empty.
std::string_view ValueText(pugi::xml_node Parent, const char* Name, const char* TargetType) {
    const std::string_view Text = Trimmed(Parent.child(Name).text().get());
    if (Text.empty()) throw EXMLReadError(Fill(SVariantConvertError, "Null", TargetType));
    return Text;
}

bool ParseInt64(std::string_view Text, std::int64_t& Value) {
    if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
    if (Text.empty() || Text.front() == '+') return false;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return Error == std::errc() && End == Text.data() + Text.size();
}

} // namespace

std::string FormatXMLFloat(float Value) {
    const double V = Value;
    if (std::isnan(V)) return "NAN";
    if (std::isinf(V)) return V > 0 ? "INF" : "-INF";
    if (V == 0) return "0";

    // Fifteen significant digits, correctly rounded, and the decimal exponent.
    char Buffer[40];
    std::snprintf(Buffer, sizeof Buffer, "%.14e", std::fabs(V));
    std::string Digits;
    const char* P = Buffer;
    for (; *P && *P != 'e'; ++P)
        if (*P >= '0' && *P <= '9') Digits += *P;
    const int Exponent = std::atoi(P + 1);
    while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();

    std::string Text = V < 0 ? "-" : "";
    if (Exponent < -5 || Exponent >= 15) {
        Text += Digits[0];
        if (Digits.size() > 1) Text += "," + Digits.substr(1);
        Text += "E" + std::to_string(Exponent);
    } else if (Exponent >= 0) {
        const std::size_t IntegerDigits = static_cast<std::size_t>(Exponent) + 1;
        if (Digits.size() <= IntegerDigits) {
            Text += Digits + std::string(IntegerDigits - Digits.size(), '0');
        } else {
            Text += Digits.substr(0, IntegerDigits) + "," + Digits.substr(IntegerDigits);
        }
    } else {
        Text += "0," + std::string(static_cast<std::size_t>(-Exponent - 1), '0') + Digits;
    }
    return Text;
}

bool ParseXMLFloat(std::string_view Text, float& Value) {
    Text = Trimmed(Text);
    if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
    if (Text.empty() || Text.size() > 64) return false;
    std::string Plain(Text);
    bool Separator = false;
    for (char& C : Plain) {
        if (C == ',' || C == '.') {
            if (Separator) return false;
            Separator = true;
            C = '.';
        } else if (!((C >= '0' && C <= '9') || C == '-' || C == '+' || C == 'e' || C == 'E')) {
            // No words such as "inf" or "nan", no hexadecimal floats.
            return false;
        }
    }
    double D = 0;
    const auto [End, Error] = std::from_chars(Plain.data(), Plain.data() + Plain.size(), D);
    if (Error != std::errc() || End != Plain.data() + Plain.size()) return false;
    if (!std::isfinite(D) || std::fabs(D) > std::numeric_limits<float>::max()) return false;
    Value = static_cast<float>(D);
    return true;
}

pugi::xml_node WriteXMLText(pugi::xml_node Parent, const char* Name, std::string_view Text) {
    pugi::xml_node Node = Parent.append_child(Name);
    Node.text().set(std::string(Text).c_str());
    return Node;
}

pugi::xml_node WriteXMLInteger(pugi::xml_node Parent, const char* Name, std::int64_t Value) {
    return WriteXMLText(Parent, Name, std::to_string(Value));
}

pugi::xml_node WriteXMLBoolean(pugi::xml_node Parent, const char* Name, bool Value) {
    return WriteXMLText(Parent, Name, Value ? "true" : "false");
}

pugi::xml_node WriteXMLColor(pugi::xml_node Parent, const char* Name, TColor32 Value) {
    return WriteXMLText(Parent, Name, std::to_string(static_cast<std::uint32_t>(Value)));
}

pugi::xml_node WriteXMLFloat(pugi::xml_node Parent, const char* Name, float Value) {
    return WriteXMLText(Parent, Name, FormatXMLFloat(Value));
}

void WriteXMLComment(pugi::xml_node Parent, std::string_view Text) {
    Parent.append_child(pugi::node_comment).set_value(std::string(Text).c_str());
}

namespace {
thread_local TXMLPictureBatch* CurrentPictureBatch = nullptr;
} // namespace

pugi::xml_node WriteXMLPicture(pugi::xml_node Parent, const char* Name, std::function<std::string()> Encode) {
    if (!CurrentPictureBatch) return WriteXMLText(Parent, Name, Encode());
    pugi::xml_node Node = Parent.append_child(Name);
    CurrentPictureBatch->FJobs.push_back({Node, std::move(Encode)});
    return Node;
}

TXMLPictureBatch::TXMLPictureBatch() : FPrevious(CurrentPictureBatch) {
    CurrentPictureBatch = this;
}

TXMLPictureBatch::~TXMLPictureBatch() {
    CurrentPictureBatch = FPrevious;
}

void TXMLPictureBatch::Finish(int Threads) {
    CurrentPictureBatch = FPrevious;
    std::vector<std::string> Texts(FJobs.size());
    ParallelFor(
        static_cast<int>(FJobs.size()),
        [&](int I) { Texts[static_cast<std::size_t>(I)] = FJobs[static_cast<std::size_t>(I)].Encode(); },
        Threads);
    // The document's allocator is not shared between threads: the texts go in here.
    for (std::size_t I = 0; I < FJobs.size(); ++I) {
        FJobs[I].Node.text().set(Texts[I].c_str());
        std::string().swap(Texts[I]);
    }
    FJobs.clear();
}

std::string ReadXMLText(pugi::xml_node Parent, const char* Name) {
    return Parent.child(Name).text().get();
}

std::int32_t ReadXMLInteger(pugi::xml_node Parent, const char* Name) {
    const std::string_view Text = ValueText(Parent, Name, "Integer");
    std::int64_t Value = 0;
    if (!ParseInt64(Text, Value) || Value < std::numeric_limits<std::int32_t>::min() ||
        Value > std::numeric_limits<std::int32_t>::max())
        ThrowInvalidXMLValue(Text, Name);
    return static_cast<std::int32_t>(Value);
}

bool ReadXMLBoolean(pugi::xml_node Parent, const char* Name) {
    const std::string_view Text = ValueText(Parent, Name, "Boolean");
    const auto Is = [Text](std::string_view Word) {
        if (Text.size() != Word.size()) return false;
        for (std::size_t I = 0; I < Word.size(); ++I)
            if ((Text[I] | 0x20) != Word[I]) return false;
        return true;
    };
    if (Is("true")) return true;
    if (Is("false")) return false;
    float Number = 0;
    if (!ParseXMLFloat(Text, Number)) ThrowInvalidXMLValue(Text, Name);
    return Number != 0;
}

TColor32 ReadXMLColor(pugi::xml_node Parent, const char* Name) {
    const std::string_view Text = ValueText(Parent, Name, "Int64");
    std::int64_t Value = 0;
    if (!ParseInt64(Text, Value)) ThrowInvalidXMLValue(Text, Name);
    return static_cast<TColor32>(static_cast<std::uint64_t>(Value) & 0xFFFFFFFFu);
}

float ReadXMLFloat(pugi::xml_node Parent, const char* Name) {
    const std::string_view Text = ValueText(Parent, Name, "Double");
    float Value = 0;
    if (!ParseXMLFloat(Text, Value)) ThrowInvalidXMLValue(Text, Name);
    return Value;
}

void ThrowInvalidXMLValue(std::string_view Text, const char* Name) {
    throw EXMLReadError(Fill(SInvalidXMLValue, Text, Name));
}

pugi::xml_node NextXMLElement(pugi::xml_node Node) {
    for (Node = Node.next_sibling(); Node; Node = Node.next_sibling())
        if (Node.type() == pugi::node_element) return Node;
    return {};
}

std::string BlurDirectionComment() {
    return "Schatten Blur-Richtung von:  0=rechts; 1=links; 2=oben; 3=unten; 4=oben-links; "
           "5=oben-rechts; 6=unten-links; 7=unten-rechts;";
}

std::string EffectTypeComment() {
    return "Effekttypen:  0=MotionBlur; 1=Amboss; 2=Laplace; 3=FindEdges; 4=Scharfzeichnen; "
           "5=EdgesEnhance; 6=ColorAmboss; 7=Weichzeichnen;";
}

} // namespace zp
