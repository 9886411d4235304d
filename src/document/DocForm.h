#pragma once

#include "document/DocHost.h"
#include "document/UserDialogs.h"
#include "files/GifImage.h"
#include "files/GifTypes.h"
#include "raster/ImgView32.h"
#include "raster/LayerRef.h"
#include "raster/RubberbandLayer.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace zp {

// One page of a document's page control: a frame page with its view, or the GIF preview page.
class TTabSheet {
public:
    QString Caption;
    int Tag = 0;

    // The frame's view; null for the preview page.
    TImgView32* ImgView() const { return FView.get(); }
    std::uint64_t Id() const { return FId; }

private:
    friend class TDocForm;
    TTabSheet();
    std::unique_ptr<TImgView32> FView;
    std::uint64_t FId;
};

// The frame record; the page identifies the frame.
struct TGifFrames {
    TTabSheet* TabSheet = nullptr;
    TImgView32* ImgView = nullptr;
    // Flattened rendering (background and every visible layer), rebuilt before each GIF assembly.
    std::shared_ptr<TBitmap32> Bitmap;
    int Duration = 1000; // milliseconds
    TColorReduction ColorReduction = rmQuantize;
    TDitherMode DitherMode = dmFloydSteinberg;
};

// One open project: its frames in animation order, each a view with a background and layers,
// followed by the GIF preview page. This is the model of the document window; the window
// mirrors it through the events below and forwards the user's actions to it.
class TDocForm {
public:
    static constexpr const char* GifPreviewCaption = "Gif Vorschau";
    static constexpr int GifPreviewTag = 42;

    explicit TDocForm(TDocHost& Host);
    ~TDocForm();
    TDocForm(const TDocForm&) = delete;
    TDocForm& operator=(const TDocForm&) = delete;

    TDocHost& Host() const { return FHost; }

    // --- pages
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const;
    int PageIndex(const TTabSheet* Sheet) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows another page. Changing the current frame clears the selection, the selection frame
    // and the marked rectangle.
    void SetActivePage(TTabSheet* Sheet);
    // The user switched pages (after SetActivePage).
    void PageControl1Change();
    TTabSheet* TabSheetGif() const { return FTabSheetGif; }
    TTabSheet* Frame1() const { return ArrayGifFrame.empty() ? nullptr : ArrayGifFrame.front().TabSheet; }
    // The view of the first frame.
    TImgView32* ImgView() const { return ArrayGifFrame.empty() ? nullptr : ArrayGifFrame.front().ImgView; }
    // Holds the layer copies kept for undo; never shown.
    TImgView32& UndoImgView() { return FUndoImgView; }

    // --- frames
    std::vector<TGifFrames> ArrayGifFrame;
    int NumLoops = 0;

    void AddFrameSheet();
    // 1: background and all layers, 2: background only, 3: empty frame (the caller then calls
    // NewImage). The new frame becomes the current one.
    void CreateNewFrame(int KindOfNewFrame);
    void CopyFrameContent(TImgView32& Source, TImgView32& Target);
    // Deletes the current frame; never the last one.
    void DeleteTabSheet();
    void ShiftTabSheetLeft();
    void ShiftTabSheetRight();
    void DeleteAllFrames();
    void OrderFramePages();
    void RenumberFrameCaptions();
    // Flattens every frame into its record's Bitmap.
    void RenderFrameBitmaps();
    // The frame shown by View as one picture at 100 %: its background with every visible
    // layer drawn over it, as the view paints it; zoom and scrolling play no part.
    static std::unique_ptr<TBitmap32> ComposeFrame(TImgView32& View);

    int GetIndex() const;
    int GetIndex(const TImgView32* AImgView) const;
    TImgView32* GetImgViewFromArray(const TTabSheet* TabSheet) const;
    TImgView32* GetImgViewFromArray(int Index) const;
    // The current frame's view, null on the preview page.
    TImgView32* CurrentView() const { return GetImgViewFromArray(FActivePage); }
    bool IsFrameSheet(const TTabSheet* Sheet) const;
    // A copy of the record of a page (an empty record when none).
    TGifFrames FindFrameRecord(const TTabSheet* Sheet) const;

    // --- pictures
    // Resets a view to an empty picture (Throws EBitmapError, changing nothing, when the size
    // cannot be allocated.)
    void CreateNewImage(int AWidth, int AHeight, TColor32 FillColor, TImgView32* AImgView);
    void CreateNewImage(const TBitmap32& ABitmap32);
    void NewImage(int Width, int Height, TColor BackColor);

    // --- files
    // Loads a project or a picture into this new document. A missing path leaves it as it is.
    void OpenFile(const QString& AFileName, bool Template);

    // --- animation
    // The last assembled animation; null before the first and after a failed one.
    std::unique_ptr<TGIFImage> GifImg;
    // Flattens and reduces every frame and assembles the animation. Progress may cancel: then
    // the previous animation stays and false is returned. A frame that cannot be converted
    // throws (the message names the reason) and leaves no animation.
    bool CreateGifImgPreview(TProgress* Progress = nullptr);
    // An assembly is running (the progress display lets events through meanwhile).
    bool Assembling() const { return FAssembling; }
    // Writes the animation; nothing happens without one.
    void SaveAnimGif(const QString& AFileName);
    // The animation changed (assembled, or gone after a failure).
    TEventList<TDocForm&> OnGifChanged;

    // Writes the document to FilName in the kind named by FileExt (".dgm", ".bmp", ".jpg",
    // ".png", ".gif", any case); true when something was written.
    bool SelectSaveMethod(const QString& FilName, const QString& FileExt);

    // --- naming
    QString FileName;
    QString AnimGifFileName;
    QString Caption() const { return FCaption; }
    void FormCaption(const QString& OpenedFileName);

    // --- selection
    TPositionedLayer* Selection() const { return FSelection.Get(); }
    void SelectLayer(TPositionedLayer* Value);
    TLayerRef<TRubberbandLayer> RBLayer;
    TLayerRef<TRubberbandLayer> MarkLayer;
    TFloatRect RBOldLocation, RBNewLocation, LocationBeforeDrag;
    bool bMove = false;
    bool bDrag = false;
    // The press handler every layer of the document gets.
    void LayerMouseDown(TCustomLayer& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // A plain bitmap layer copied into AImgView, centred under its visible area.
    TBitmapLayer* AssignBitmapLayer(const TBitmapLayer& ABitmapLayer, TImgView32* AImgView);

    // --- interaction modes
    // True: tool mode (the canvas tools act, layers get no mouse input); false: layer mode (a
    // click selects a layer, the selection frame moves and sizes it).
    void SetMouseEvents(bool Status);
    bool ToolMode() const { return FToolMode; }
    // Removes the marked rectangle, if there is one.
    void DeleteMarkLayer();

    // --- zoom
    // Applies a zoom text such as "150%" to the current frame and returns the effective one.
    QString ScaleComboChange(const QString& S);
    void LayerResetScale();
    // The wheel turned away from the user zooms out, towards the user zooms in (20 % to 2000 %).
    void ImgViewMouseWheelUp();
    void ImgViewMouseWheelDown();

    // The first paint stage of every frame view: silver around a black outline of the picture.
    void ImgViewPaintStage(TImgView32& Sender, TBitmap32& Buffer, unsigned StageNum);

    // --- notifications for the window
    TEventList<TTabSheet&> OnFrameAdded;
    // Raised before the page and its view are destroyed.
    TEventList<TTabSheet&> OnFrameRemoved;
    // Page order or page captions changed.
    TEventList<TDocForm&> OnPagesChanged;
    TEventList<TDocForm&> OnActivePageChanged;
    TEventList<TDocForm&> OnCaptionChanged;
    // The preview page was opened by the user: the animation is to be assembled and shown.
    TEventList<TDocForm&> OnPreviewRequested;

private:
    void ReadProject(const QString& AFileName);
    bool WriteFramePicture(TImgView32& View, const QString& AFileName, const QString& Ext);
    void LoadPicture(const QString& AFileName, TBitmap32& Picture);
    TTabSheet* NewPage(bool WithView);
    void ConfigureFrameView(TImgView32& View);
    void AppendFrameRecord(const TGifFrames& Record);
    void RemoveFrameRecord(int Index);
    int FindRecordIndex(const TTabSheet* Sheet) const;
    void ClearSelectionState();
    void DestroyPage(TTabSheet* Sheet);

    TDocHost& FHost;
    std::vector<std::unique_ptr<TTabSheet>> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabSheet* FTabSheetGif = nullptr;
    TImgView32 FUndoImgView;
    TLayerRef<TPositionedLayer> FSelection;
    QString FCaption;
    bool FDestroying = false;
    bool FAssembling = false;
    bool FToolMode = true;
};

} // namespace zp
