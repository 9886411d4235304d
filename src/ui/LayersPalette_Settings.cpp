// The layers palette's animation settings, opacity gauge, frame box and placement.
#include "ui/LayersPalette.h"

#include "shell/MainForm.h"
#include "shell/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace zp {

namespace {

constexpr TColorReduction ReductionOfIndex[] = {rmNone,       rmNetscape,  rmWindows256,
                                                rmMonochrome, rmGrayScale, rmQuantize};
// GIF delays are hundredths of a second in 16 bits.
constexpr int LongestDuration = 655350;

TColorReduction ReductionOf(int Index) {
    return Index >= 0 && Index < 6 ? ReductionOfIndex[Index] : rmQuantize;
}

int IndexOfReduction(TColorReduction R) {
    for (int I = 0; I < 6; ++I)
        if (ReductionOfIndex[I] == R) return I;
    return -1;
}

TDitherMode DitherOf(int Index) {
    return Index >= 0 && Index <= 6 ? static_cast<TDitherMode>(Index) : dmFloydSteinberg;
}

} // namespace

// ---------------------------------------------------------------- gauge, frames, animation settings

void TfrmLayers::UpdateGauge() {
    const auto* S = FDoc ? dynamic_cast<const TBitmapLayer*>(FDoc->Selection()) : nullptr;
    FUpdating = true;
    FGbarTransp->setEnabled(S);
    FLblBitTransp->setEnabled(S);
    FLblDeckkraft->setEnabled(S);
    if (S) {
        FGbarTransp->setValue(TDocForm::LayerOpacity(*S));
        FLblBitTransp->setText(QString::number(FGbarTransp->value() * 100 / 255));
        const int V = FGbarTransp->value();
        if (FModel.Palettes.State().Opacity != V)
            FModel.Palettes.Change([V](TPaletteState& P) { P.Opacity = V; });
    } else {
        FLblBitTransp->setText(QStringLiteral("100"));
    }
    FUpdating = false;
}

void TfrmLayers::InsertToCmbBox() {
    FUpdating = true;
    const int Chosen = FCmbFrames->currentIndex();
    FCmbFrames->clear();
    if (FDoc) {
        for (int I = 0; I < FDoc->FrameCount(); ++I)
            FCmbFrames->addItem(FModel.LangText(QStringLiteral("FrameCpt")) + QLatin1Char(' ') +
                                QString::number(I + 1));
        const int Active = FDoc->GetIndex();
        FCmbFrames->setCurrentIndex(Active >= 0 ? Active : std::min(Chosen, FDoc->FrameCount() - 1));
    }
    FUpdating = false;
}

int TfrmLayers::SettingsFrame() const {
    if (!FDoc) return -1;
    if (FDoc->CurrentView()) return FDoc->GetIndex();
    const int I = FCmbFrames->currentIndex();
    return I >= 0 && I < FDoc->FrameCount() ? I : -1;
}

void TfrmLayers::UpdateForm() {
    FUpdating = true;
    const int F = SettingsFrame();
    if (F >= 0) {
        const TGifFrames& R = FDoc->Frame(F);
        if (const int I = IndexOfReduction(R.ColorReduction); I >= 0) FCmbColorReduction->setCurrentIndex(I);
        FCmbDitherMode->setCurrentIndex(static_cast<int>(R.DitherMode));
        FCmbDuration->setEditText(QString::number(R.Duration));
    } else {
        FCmbColorReduction->setCurrentIndex(5);
        FCmbDitherMode->setCurrentIndex(1);
        FCmbDuration->setEditText(QStringLiteral("1000"));
    }
    if (FDoc && FDoc->NumLoops() > 0)
        FCmbLoops->setEditText(QString::number(FDoc->NumLoops()));
    else
        FCmbLoops->setCurrentIndex(0), FCmbLoops->setEditText(FCmbLoops->itemText(0));
    FUpdating = false;
    UpdateGauge();
    ShowGifFacts();
}

void TfrmLayers::ApplyFrameSettings() {
    if (FUpdating || !FDoc) return;
    const int F = SettingsFrame();
    if (F < 0) return;
    const TGifFrames& R = FDoc->Frame(F);
    const QString Text = FCmbDuration->currentText().trimmed();
    if (Text.isEmpty()) {
        // An emptied field takes the frame's duration back.
        FUpdating = true;
        FCmbDuration->setEditText(QString::number(R.Duration));
        FUpdating = false;
        return;
    }
    const int Duration = std::min(Text.toInt(), LongestDuration);
    FDoc->SetFrameSettings(F, Duration, ReductionOf(FCmbColorReduction->currentIndex()),
                           DitherOf(FCmbDitherMode->currentIndex()));
    ScheduleGif();
}

void TfrmLayers::ApplyLoops() {
    if (FUpdating || !FDoc) return;
    const QString Text = FCmbLoops->currentText().trimmed();
    if (Text.isEmpty()) {
        UpdateForm();
        return;
    }
    bool Ok = false;
    const int N = Text.toInt(&Ok);
    if (!Ok && Text != FCmbLoops->itemText(0)) {
        UpdateForm();
        return;
    }
    FDoc->SetNumLoops(Ok ? std::min(N, 65535) : 0);
    ScheduleGif();
}

void TfrmLayers::ScheduleGif() {
    // Only an animation already made (or being looked at) is made again.
    if (FDoc && (FDoc->GifImg() || FDoc->ActivePage() == FDoc->TabSheetGif())) FGifTimer->start();
    ShowGifFacts();
}

void TfrmLayers::GifChanged() {
    // Encoded once per assembled animation, not at every refresh of the facts.
    const TGIFImage* Gif = FDoc ? FDoc->GifImg() : nullptr;
    FGifBytes = Gif ? static_cast<qint64>(Gif->SaveToBytes().size()) : -1;
    ShowGifFacts();
}

void TfrmLayers::ShowGifFacts() {
    if (!FDoc) {
        FGifFacts->clear();
        FDurationWarning->hide();
        return;
    }
    long long Total = 0;
    for (int I = 0; I < FDoc->FrameCount(); ++I) Total += FDoc->Frame(I).Duration;
    QString Size = QStringLiteral("noch nicht bekannt, erst nach „Gif Vorschau“");
    if (FGifBytes >= 0)
        Size = QStringLiteral("%1 KB").arg(
            QLocale(QLocale::German).toString(static_cast<double>(FGifBytes) / 1024.0, 'f', 1));
    const int N = FDoc->FrameCount();
    FGifFacts->setText(
        QStringLiteral("%1, Spieldauer %2 s\nGIF-Größe: %3")
            .arg(N == 1 ? QStringLiteral("1 Frame") : QStringLiteral("%1 Frames").arg(N))
            .arg(QLocale(QLocale::German).toString(static_cast<double>(Total) / 1000.0, 'f', 2))
            .arg(Size));
    const int F = SettingsFrame();
    FDurationWarning->setVisible(F >= 0 && FDoc->Frame(F).Duration < ShortestPlayedDuration);
}

// ---------------------------------------------------------------- placement

void TfrmLayers::Adjust(QWidget* MainWindow) {
    IsAdjusted = false;
    const TSettings& S = Settings();
    resize(std::max(S.LayerFormWidth, 150), std::max(S.LayerFormHeight, 200));
    int Left = S.LayerFormLeft, Top = S.LayerFormTop;
    if (MainWindow) {
        if (Left == 2) Left = MainWindow->x() + (MainWindow->frameGeometry().width() - MainWindow->width());
        // 5 pixels below the properties palette's frame, as that palette was just placed.
        if (Top == 0) {
            const auto Palettes =
                MainWindow->findChildren<TPaletteWindow*>(QString(), Qt::FindDirectChildrenOnly);
            const auto Props = std::find_if(Palettes.begin(), Palettes.end(),
                                            [](const TPaletteWindow* P) { return P->Kind() == pkTextForm; });
            Top = Props != Palettes.end()
                      ? OuterFrame(**Props).bottom() + 1 + 5
                      : (S.TextFormTop != 0 ? S.TextFormTop : PaletteTopBelowToolBar(MainWindow)) +
                            S.TextFormHeight + 5;
        }
    }
    move(Left, Top);
    setVisible(S.LayerFormVisible);
    IsAdjusted = true;
}

} // namespace zp
