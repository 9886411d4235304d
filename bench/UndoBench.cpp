// Undoable edits on an 800 x 600 document of 20 figure layers. Goals: an edit of one layer
// costs undo memory in proportion to that layer, not to the document (BytesPerEdit against
// LayerBytes and DocumentBytes); undoing 1,000 edits takes less than a second.
#include "document/DocForm.h"
#include "layers/Rectangle.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

namespace {

using namespace zp;

constexpr int Edits = 1000;

struct TBench {
    TPlainDocHost Host;
    std::unique_ptr<TDocForm> Doc;
    std::vector<T2DFiguren*> Figures;

    TBench() : Doc(std::make_unique<TDocForm>(Host)) {
        Doc->NewImage(800, 600, 0xFFFFFF);
        for (int I = 0; I < 20; ++I) {
            const int X = 30 + (I % 5) * 150, Y = 30 + (I / 5) * 140;
            std::unique_ptr<T2DFiguren> F;
            if (I % 2)
                F = std::make_unique<T2DEllipse>(X, Y, X + 120, Y + 90);
            else
                F = std::make_unique<T2DRectangle>(X, Y, X + 120, Y + 90);
            F->LayerStyle().SetFillColor(0xFF000000u | static_cast<TColor32>(0x0B1D3F * (I + 1) & 0xFFFFFF));
            F->LayerStyle().SetOutline(true);
            F->LayerStyle().SetOutlineSize(2);
            F->Paint();
            Figures.push_back(static_cast<T2DFiguren*>(Doc->InsertLayer(std::move(F))));
        }
        Doc->ClearUndo();
    }

    // Edit Index: a style change, a move, a flip or a rotation of one of the layers.
    void Edit(int Index) {
        T2DFiguren& F = *Figures[static_cast<std::size_t>(Index * 7 % 20)];
        switch (Index % 4) {
        case 0:
            Doc->ChangeLayer(F, undo2DLayerStyle, [Index](TBitmapLayer& L) {
                auto& Figure = static_cast<T2DFiguren&>(L);
                Figure.LayerStyle().SetFillColor(0xFF000000u |
                                                 static_cast<TColor32>(Index * 2654435761u & 0xFFFFFF));
                Figure.Paint();
            });
            break;
        case 1: Doc->MoveLayer(F, F.Location().Left + 1, F.Location().Top); break;
        case 2:
            Doc->SelectLayer(&F);
            Doc->FlipHorzClick();
            break;
        case 3:
            Doc->SelectLayer(&F);
            Doc->RotateClick(7);
            break;
        }
    }

    std::size_t DocumentBytes() const {
        std::size_t Bytes = 800 * 600 * 4;
        for (const T2DFiguren* F : Figures)
            Bytes += static_cast<std::size_t>(F->Bitmap().Width()) * F->Bitmap().Height() * 4;
        return Bytes;
    }
    std::size_t LayerBytes() const { return (DocumentBytes() - 800 * 600 * 4) / Figures.size(); }
};

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_Edits(benchmark::State& State) {
    double PerEdit = 0, Layer = 0, Document = 0;
    for (auto _ : State) {
        State.PauseTiming();
        TBench B;
        const std::size_t Before = HeapInUse();
        State.ResumeTiming();
        for (int I = 0; I < Edits; ++I) B.Edit(I);
        State.PauseTiming();
        PerEdit = static_cast<double>(HeapInUse() - Before) / Edits;
        Layer = static_cast<double>(B.LayerBytes());
        Document = static_cast<double>(B.DocumentBytes());
        B.Doc.reset();
        State.ResumeTiming();
    }
    State.counters["BytesPerEdit"] = PerEdit;
    State.counters["LayerBytes"] = Layer;
    State.counters["DocumentBytes"] = Document;
}
BENCHMARK(BM_Edits)->Name("1000Edits/record")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoAll(benchmark::State& State) {
    for (auto _ : State) {
        State.PauseTiming();
        TBench B;
        for (int I = 0; I < Edits; ++I) B.Edit(I);
        State.ResumeTiming();
        while (B.Doc->CanUndo()) B.Doc->Undo();
        State.PauseTiming();
        B.Doc.reset();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_UndoAll)->Name("1000Edits/undoAll")->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RedoAll(benchmark::State& State) {
    for (auto _ : State) {
        State.PauseTiming();
        TBench B;
        for (int I = 0; I < Edits; ++I) B.Edit(I);
        while (B.Doc->CanUndo()) B.Doc->Undo();
        State.ResumeTiming();
        while (B.Doc->CanRedo()) B.Doc->Redo();
        State.PauseTiming();
        B.Doc.reset();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_RedoAll)->Name("1000Edits/redoAll")->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
