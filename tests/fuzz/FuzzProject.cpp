// The project reader under libFuzzer. Whatever the text, reading ends either in a document within
// the limits, which writes a project that reads back alike, or in a std::exception with a message
// that leaves the document empty. Anything else (another exception, a crash, a sanitizer report,
// a leak, a hang) is a finding.

#include "document/DocForm.h"
#include "document/DocHost.h"
#include "support/ShownDocument.h"
#include "support/SmallProjectLimits.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zp;

// The layer count of every frame.
std::vector<int> LayerCounts(const TDocForm& Doc) {
    std::vector<int> Counts;
    for (int I = 0; I < Doc.FrameCount(); ++I) Counts.push_back(Doc.Frame(I).ImgView->Layers().Count());
    return Counts;
}

// Composing every frame touches every layer's pixels, so the sanitizers see their memory.
void ComposeEveryFrame(const TDocForm& Doc) {
    std::uint32_t Sum = 0;
    for (int I = 0; I < Doc.FrameCount(); ++I) {
        const auto Flat = TDocForm::ComposeFrame(*Doc.Frame(I).ImgView);
        for (int Y = 0; Y < Flat->Height(); ++Y)
            for (int X = 0; X < Flat->Width(); ++X) Sum += Flat->Pixel(X, Y);
    }
    volatile std::uint32_t Sink = Sum;
    (void)Sink;
}

// Reads Text into a new document; null when it was refused as it should be, and then an abort
// when the text was one the program wrote itself.
std::unique_ptr<TDocForm> Read(TDocHost& Host, std::string_view Text, bool Written) {
    auto Doc = std::make_unique<TDocForm>(Host);
    try {
        Doc->LoadProjectFromXMLText(Text, SmallProjectLimits());
    } catch (const std::exception& E) {
        if (std::string_view(E.what()).empty() || !LeftEmpty(*Doc)) std::abort();
        if (Written) {
            std::fprintf(stderr, "A written project was refused: %s\n", E.what());
            std::abort();
        }
        return nullptr;
    }
    return Doc;
}

} // namespace

// Fontconfig keeps a little memory of its first font lookup that it never frees.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // One application for the whole run; text layers need its fonts.
    static int Argc = 1;
    static char Name[] = "fuzz_Project";
    static char* Argv[] = {Name, nullptr};
    static QGuiApplication* App = new QGuiApplication(Argc, Argv);
    (void)App;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    TPlainDocHost Host;
    const auto Doc = Read(Host, {reinterpret_cast<const char*>(Data), Size}, false);
    if (!Doc) return 0;
    const std::vector<int> Counts = LayerCounts(*Doc);
    if (Counts.empty() || static_cast<int>(Counts.size()) > SmallProjectLimits().MaxFrames) std::abort();
    for (const int C : Counts)
        if (C > SmallProjectLimits().MaxLayersPerFrame) std::abort();
    ComposeEveryFrame(*Doc);
    (void)Doc->ReportMissingFonts();
    (void)Doc->ReportCappedEffects();

    // What was accepted is written so that it reads back with the same frames and layers.
    std::string Written;
    try {
        Written = Doc->ProjectToXMLText();
    } catch (const std::exception& E) {
        std::fprintf(stderr, "A project that was read cannot be written: %s\n", E.what());
        std::abort();
    }
    const auto Again = Read(Host, Written, true);
    if (LayerCounts(*Again) != Counts || Again->NumLoops() != Doc->NumLoops()) std::abort();
    return 0;
}
