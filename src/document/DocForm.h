#pragma once

#include "document/Clipboard.h"
#include "document/DocEvents.h"
#include "document/DocHost.h"
#include "document/ProjectFile.h"
#include "document/Undo.h"
#include "document/UserDialogs.h"
#include "files/GifImage.h"
#include "files/GifTypes.h"
#include "layers/LayerTypes.h"
#include "layers/Line.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "raster/ImgView32.h"
#include "raster/LayerRef.h"
#include "raster/RubberbandLayer.h"

#include <QString>

#include <pugixml.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zp {

class T2DFiguren;
class T2DLayerStyle;
class TGPImage;
class TFontLayerStyle;
class TTextLayer;

// One page of a document's page control: a frame page with its view, or the GIF preview page.
class TTabSheet {
public:
    const QString& Caption() const { return FCaption; }
    int Tag() const { return FTag; }

    // The frame's view; null for the preview page.
    TImgView32* ImgView() const { return FView.get(); }
    std::uint64_t Id() const { return FId; }

private:
    friend class TDocForm;
    TTabSheet();
    std::unique_ptr<TImgView32> FView;
    std::uint64_t FId;
    QString FCaption;
    int FTag = 0;
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

// A resize that cannot be done; the message says why, in German.
class EResizeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One open project: its frames in animation order, each a view with a background and layers,
// followed by the GIF preview page. This is the model of the document window.
//
// Its state is private and changes only through the operations below. Each edit records one
// undo entry, announces what changed through the document's events and keeps every reference
// valid: the selection, the selection frame and the marked rectangle always belong to the
// shown frame or are null.
class TDocForm {
public:
    static constexpr const char* GifPreviewCaption = "Gif Vorschau";
    static constexpr int GifPreviewTag = 42;

    explicit TDocForm(TDocHost& Host);
    ~TDocForm();
    TDocForm(const TDocForm&) = delete;
    TDocForm& operator=(const TDocForm&) = delete;

    TDocHost& Host() const { return FHost; }

    // --- events
    // The handler runs for every change until the subscription goes.
    [[nodiscard]] TDocSubscription Subscribe(std::function<void(const TDocEvent&)> Handler);

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
    TTabSheet* Frame1() const { return FFrames.empty() ? nullptr : FFrames.front().TabSheet; }
    // The view of the first frame.
    TImgView32* ImgView() const { return FFrames.empty() ? nullptr : FFrames.front().ImgView; }

    // --- frames
    int FrameCount() const { return static_cast<int>(FFrames.size()); }
    // The record of frame Index (0 <= Index < FrameCount()).
    const TGifFrames& Frame(int Index) const { return FFrames.at(static_cast<std::size_t>(Index)); }
    int NumLoops() const { return FNumLoops; }

    // A frame page for building a document (reading a project); not an edit of the user's.
    void AddFrameSheet();
    // "Neuer Frame": 1 background and all layers, 2 background only, 3 empty frame of the
    // current size filled with Fill (the caller's colour 1). The new frame becomes the current
    // one. One undo entry.
    void CreateNewFrame(int KindOfNewFrame, TColor32 Fill = 0);
    // Copies a frame's background and layers into another view (no undo entry).
    void CopyFrameContent(TImgView32& Source, TImgView32& Target);
    // Deletes the current frame; never the last one.
    void DeleteTabSheet();
    void ShiftTabSheetLeft();
    void ShiftTabSheetRight();
    // A frame's animation settings, and the loop count; each an undoable edit.
    void SetFrameSettings(int Index, int Duration, TColorReduction ColorReduction, TDitherMode DitherMode);
    void SetNumLoops(int Value);
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
    // The frame page holding a layer; null for none.
    TTabSheet* PageOfLayer(const TCustomLayer* Layer) const;

    // --- pictures (building a document; no undo entries)
    // Resets a view to an empty picture (Throws EBitmapError, changing nothing, when the size
    // cannot be allocated.)
    void CreateNewImage(int AWidth, int AHeight, TColor32 FillColor, TImgView32* AImgView);
    void CreateNewImage(const TBitmap32& ABitmap32);
    void NewImage(int Width, int Height, TColor BackColor);

    // --- files
    // Loads a project or a picture into this new document. A missing path leaves it as it is.
    void OpenFile(const QString& AFileName, bool Template);
    // Writes the document to FilName in the kind named by FileExt (".dgm", ".bmp", ".jpg",
    // ".png", ".gif", any case); true when something was written.
    bool SelectSaveMethod(const QString& FilName, const QString& FileExt);
    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& Value) { FFileName = Value; }
    const QString& AnimGifFileName() const { return FAnimGifFileName; }

    // --- project files
    // Writes the whole document to FileName. The file is written beside the old one and
    // takes its name only when complete: a failed save (EFileError) leaves the old file.
    // Writing changes nothing in the document.
    void SaveProjectToXML();
    // The project file's text.
    std::string ProjectToXMLText() const;
    // Fills this new document (one empty frame) from a project file, in either layout. Throws
    // EProjectFileError, whose message names the file and the reason (the text reader may throw
    // any std::exception); the document is then left with one frame without picture or layers.
    void LoadProjectFromXML(const QString& AFileName, const TProjectLimits& Limits = {});
    void LoadProjectFromXMLText(std::string_view Text, const TProjectLimits& Limits = {});
    // One layer of a current-layout Layer element, on top of the current frame, placed at
    // Location; null for an unknown LayerType.
    TBitmapLayer* CreateLayerFromXML(pugi::xml_node aXMLNode, int LayerType, int Version,
                                     const TFloatRect& Location);
    // After reading: the message naming every font the text layers asked for and did not get
    // (each once, sorted); empty when there was none.
    QString ReportMissingFonts() const;
    // After reading: a note when effects were stronger than the program draws them and were
    // weakened; empty otherwise.
    QString ReportCappedEffects() const;

    // --- animation
    // The last assembled animation; null before the first and after a failed one.
    const TGIFImage* GifImg() const { return FGifImg.get(); }
    // Flattens and reduces every frame and assembles the animation. Progress may cancel: then
    // the previous animation stays and false is returned. A frame that cannot be converted
    // throws (the message names the reason) and leaves no animation.
    bool CreateGifImgPreview(TProgress* Progress = nullptr);
    // An assembly is running (the progress display lets events through meanwhile).
    bool Assembling() const { return FAssembling; }
    // Writes the animation; nothing happens without one.
    void SaveAnimGif(const QString& AFileName);

    // --- naming
    QString Caption() const { return FCaption; }
    void FormCaption(const QString& OpenedFileName);

    // --- selection
    TPositionedLayer* Selection() const { return FSelection.Get(); }
    void SelectLayer(TPositionedLayer* Value);
    TRubberbandLayer* RBLayer() const { return FRBLayer.Get(); }
    TRubberbandLayer* MarkLayer() const { return FMarkLayer.Get(); }
    // The press handler every layer of the document gets.
    void LayerMouseDown(TCustomLayer& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // --- canvas tools: the frame views' mouse handlers in tool mode (view pixels). The tool,
    // colours, opacity, line width and edge count are read from the palettes at each step.
    // A press with the pointer tool also selects the topmost layer showing a pixel there.
    void MouseDownOnImgView(TImgView32& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMoveOnImgView(TImgView32& Sender, TShiftState Shift, int X, int Y);
    void MouseUpOnImgView(TImgView32& Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The help figure shown while a drawing or gradient tool is dragged; null otherwise.
    T2DFiguren* HelpFigure() const;
    // Copies the given style's outline, opacity, pattern and shadow onto the selected figure
    // (an undoable change), repaints it and removes the selection frame.
    void Paint2DFigure(const T2DLayerStyle& ALayerStyle);
    // Repaints the selected figure and removes the selection frame.
    void Paint2DFigure();

    // --- clipboard: full copies in the host's program clipboard, their flat picture on the
    // system clipboard
    // Copies the marked area, else the selected text or figure, else (nothing selected) the
    // frame's background; a selected plain picture is not copied. Undo keeps deleted layers
    // itself, so cptUndo copies nothing.
    void CopyToHiddenImgView(TCopyType CopyType);
    // Puts the newest copy's flat picture on the system clipboard.
    void CopyToWindowsClipboard();
    void Copy2DFigToHiddenImgView(TCopyType CopyType);
    // The marked rectangle's part of the selected layer, or of the background, as a picture.
    void CopyMarkedRectToHiddenImgView(TCopyType CopyType);
    // A clone of the newest copy, a figure, at Location (undoInsertPicLayer); null when the
    // newest copy is no figure.
    T2DFiguren* Insert2DFigureFromClipBoard(const TFloatRect& Location);
    // Pastes the newest copy while the system clipboard still holds its picture, else the
    // system clipboard's picture as a picture layer; centred under the visible area, selected,
    // one undo entry. Null when nothing came (no picture, or a text on an empty frame).
    TBitmapLayer* InsertFromClipBoard();

    // --- layer transfer between documents
    // A layer of Source may be dropped here.
    bool ImgViewDragOver(const TDocForm& Source) const;
    // Drops a clone of Source's layer LayerId centred at (X, Y) of Sender (one undo entry here);
    // plain bitmap layers are not transferred. True when a layer came.
    bool ImgViewDragDrop(TImgView32& Sender, TDocForm& Source, std::uint64_t LayerId, int X, int Y);
    // After a drop elsewhere: the dragged layer goes back where the drag began.
    void FinishDragDrop();
    bool Dragging() const { return bDrag; }

    // --- interaction modes
    // True: tool mode (the canvas tools act, layers get no mouse input); false: layer mode (a
    // click selects a layer, the selection frame moves and sizes it).
    void SetMouseEvents(bool Status);
    bool ToolMode() const { return FToolMode; }
    // Removes the marked rectangle, if there is one.
    void DeleteMarkLayer();

    // --- layers: creating (on the current frame; each selects the new layer, one undo entry)
    // Puts Layer on top of the current frame, or at Index; Kind is undoInsertPicLayer or
    // undoInsertTextLayer. Null (nothing added) without a current frame.
    TBitmapLayer* InsertLayer(std::unique_ptr<TBitmapLayer> Layer, TUndoType Kind = undoInsertPicLayer,
                              int Index = -1);
    // An empty text layer centred under the visible area (undoInsertTextLayer); null when the
    // current frame has no picture.
    TTextLayer* NewTextLayer();
    // A text layer at the given corners of AImgView, without an undo entry (its callers record
    // what they do); selected when AImgView is a frame of this document.
    TTextLayer* NewTextLayer(TPoint PLeftTop, TPoint PRightBottom, TImgView32* AImgView);
    // Draws a text layer's text anew (when it has one) and forgets the selection frame.
    void PaintText(TPositionedLayer* Sender);
    // Gives a text layer a new text and draws it (undoFontLayerStyle).
    void SetLayerText(TTextLayer& Layer, const QString& Text);
    // A picture layer from a picture file, at the picture's origin. A file that cannot be read
    // adds nothing and throws the reader's error, whose message names the reason.
    TBitmapLayer* OpenBitmapLayer(const QString& AFileName);
    // A picture layer from a decoded picture with a copy of ALayerStyle.
    TBitmapLayer* CreatePicLayer(const TGPImage& AGDIBitmap, const T2DLayerStyle& ALayerStyle);
    // A plain bitmap layer from a copy of ABitmap32 at PLeftTop.
    TBitmapLayer* CreateBitmapLayer(const TBitmap32& ABitmap32, TPoint PLeftTop, bool ATranspGradient);
    // A plain bitmap layer copied into AImgView, centred under its visible area (no undo entry:
    // its callers record what they do).
    TBitmapLayer* AssignBitmapLayer(const TBitmapLayer& ABitmapLayer, TImgView32* AImgView);

    // --- layers: editing the selection (each one undo entry)
    // "Auswahl löschen".
    void DeleteClick();
    void DeleteLayer();
    void DeleteLayer(TPositionedLayer* ALayer);
    // 27 to the front, 28 to the back, 29 one up, 30 one down.
    void Reorder(int SenderTag);
    // Puts a layer at Index of its frame (0 the bottom), never above the selection frames.
    void MoveLayerTo(TPositionedLayer& Layer, int Index);
    // The highest index a real layer of the frame can have (below the editing's own layers).
    static int TopLayerIndex(const TLayerCollection& Layers);
    void FlipHorzClick();
    void FlipVertClick();
    void Rotate270Click();
    void Rotate90Click();
    void RotateClick(float Angel);
    void AddEffect(TEffectType EffectType);
    void AddMotionBlurEffect(int aStrength, TBlurDirection aDirection);
    // "Ebenen verbinden": merges every layer of the current frame into its background.
    void FlattenImage();

    // --- layers: the change path for any edit of a layer
    // Runs Edit on Layer with an undo entry of Kind that puts back the whole layer as it was
    // (style, effects, transformation, picture, place). An Edit that throws leaves the layer
    // as it was.
    void ChangeLayer(TBitmapLayer& Layer, TUndoType Kind, const std::function<void(TBitmapLayer&)>& Edit);
    // Paints on a layer's picture, or on the current frame's background (Layer null), with an
    // undoPaint entry.
    void PaintSurface(TBitmapLayer* Layer, const std::function<void(TBitmap32&)>& Paint);
    // Moves a layer to (Left, Top), keeping its size, with an undoShiftLayer entry.
    void MoveLayer(TPositionedLayer& Layer, float Left, float Top);
    // The pointer tool moved a layer from OldLeftTop: records that move (undoShiftLayer).
    void RecordShift(TPositionedLayer& Layer, TPoint OldLeftTop);
    // The same from an exact place (a scaled picture may sit between pixels).
    void RecordMove(TPositionedLayer& Layer, float OldLeft, float OldTop);
    void SetMasterAlpha(TBitmapLayer& Layer, int Alpha);
    // The layers palette's opacity gauge: a figure's fill and line opacity, a text's fill
    // opacity, a plain picture's master alpha (0..255); one undo entry.
    void SetLayerOpacity(TBitmapLayer& Layer, int Alpha);
    // What the gauge shows for a layer: the style's fill opacity, or the master alpha.
    static int LayerOpacity(const TBitmapLayer& Layer);
    void ResetTranspGradient(TBitmapLayer& ABitmapLayer);
    static void ResetTranspGradient(TBitmap32& ABitmap32);

    // --- the selection frame ("Skalieren")
    // Frames Value (null only hides the frame).
    void SetRubberbandLayer(TPositionedLayer* Value);
    void ResetRubberbandLayer();

    // --- styles from the palettes
    // A new figure style from the properties and layers palettes; PatternFileName, when not
    // empty, is a picture for the pattern fill.
    std::unique_ptr<T2DLayerStyle> GetALayerStyle(const QString& PatternFileName) const;
    // Writes the properties palette into a text style: text, font, colour, outline, shadow and,
    // while "Muster" is on, the pattern (PatternFileName as for GetALayerStyle). Numbers the
    // palette does not hold within their range leave the style's value.
    void UpdateTextLayer(TFontLayerStyle& Style, const QString& PatternFileName) const;
    // The selected text layer takes the palette's text style (undoFontLayerStyle) and is drawn
    // anew. Continue: the edit goes on the burst of edits before it (typing, a gauge being
    // dragged), which keeps one undo entry while nothing else was recorded in between.
    void ApplyToText(const QString& PatternFileName = QString(), bool Continue = false);
    // The text colour was chosen: the selected text's gradient, hatch and pattern picture go
    // and it takes the palette's text style (one undo entry).
    void ApplyTextColor();
    // A selected text as ApplyToText, a selected figure or picture the palette's figure style
    // (undo2DLayerStyle); nothing for other layers.
    void ApplyToSelection(const QString& PatternFileName = QString(), bool Continue = false);
    // The palette fields that show a layer's style (a text's font and text too); nothing for a
    // layer without style. Applies nothing.
    static void LoadPaletteFromLayer(const TCustomLayer* Layer, TPaletteState& P);
    void GetPatternWrapMode(T2DLayerStyle& ALayerStyle) const;
    void GetPatternWrapMode(TFontLayerStyle& AFontLayerStyle) const;

    // --- resizing every frame
    // "Arbeitsfläche": every background is stretched to Width x Height (nearest neighbour);
    // the layers keep their size and their centres follow the picture. "Bildgröße" scales the
    // figures and texts too. One undo entry, which gives back every frame exactly as it was.
    // Sizes below 1, or that memory cannot hold, throw EResizeError before anything changes.
    void ResizeDocument(int Width, int Height);
    void ResizeImage(int Width, int Height);
    // The steps without an undo entry.
    void ResizeDocumentSub(int Width, int Height);
    void ResizeImageSub(int Width, int Height);
    // "W;H" of the current frame's background.
    QString GetStringOfOldWidthAndHeight() const;

    // --- undo and redo
    bool CanUndo() const { return !FUndoList.empty(); }
    bool CanRedo() const { return !FRedoList.empty(); }
    int UndoCount() const { return static_cast<int>(FUndoList.size()); }
    int RedoCount() const { return static_cast<int>(FRedoList.size()); }
    // The record Index from the oldest (0).
    const TUndos& UndoRecord(int Index) const { return FUndoList.at(static_cast<std::size_t>(Index)); }
    // Reverts the newest record and shows its frame; records whose target is gone are dropped
    // and the next one is reverted instead.
    void Undo();
    // Applies the newest undone record again.
    void Redo();
    // The history starts now, with the document as it is (one just read or made, not edited),
    // which counts as saved.
    void ClearUndo();
    // A layer of any frame, by id, and the index of its frame.
    TCustomLayer* FindLayer(std::uint64_t Id, int* FrameIndex = nullptr) const;

    // --- the modified flag: set by every edit, cleared by saving the project; undoing back to
    // the last save clears it too.
    bool Modified() const;
    // The document as it is now counts as saved.
    void MarkSaved();

    // --- zoom
    // Applies a zoom text such as "150%" to the current frame and returns the effective one.
    QString ScaleComboChange(const QString& S);
    void LayerResetScale();
    // The wheel turned away from the user zooms out, towards the user zooms in (20 % to 2000 %).
    void ImgViewMouseWheelUp();
    void ImgViewMouseWheelDown();

    // Arrow keys nudge the selection: 20 image pixels with Shift alone, else 1. Every nudge is
    // an undoable move, so that a moved layer is never lost by closing without a question.
    // False when the key is no arrow or nothing is selected.
    bool ImgViewKeyDown(int Key, TShiftState Shift);
    // Escape on the canvas: nothing selected, no selection frame, no marked rectangle, so the
    // tools act on the background again.
    void CancelSelection();

    // The first paint stage of every frame view: silver around a black outline of the picture.
    void ImgViewPaintStage(TImgView32& Sender, TBitmap32& Buffer, unsigned StageNum);

private:
    friend struct TDocFormUndo;

    void Notify(TDocChange Kind, TTabSheet* Page = nullptr, TCustomLayer* Layer = nullptr,
                const QString& Text = QString()) const;
    void ReadProject(const QString& AFileName);
    void ReadProjectText(std::string_view Text, const TProjectLimits& Limits);
    void ReadProjectFrames(const pugi::xml_node Root, int Version, const TProjectLimits& Limits);
    TBitmapLayer* CreateOlderLayerFromXML(pugi::xml_node aXMLNode, int LayerType, int Version,
                                          const TFloatRect& Location, TPoint BackgroundSize);
    // The steps of CreateLayerFromXML: the layer's elements, its drawing (on any thread), and
    // its place on top of the current frame.
    std::unique_ptr<TBitmapLayer> ReadLayerFromXML(pugi::xml_node aXMLNode, int LayerType, int Version);
    static void PaintReadLayer(TBitmapLayer& Layer);
    TBitmapLayer* PlaceReadLayer(std::unique_ptr<TBitmapLayer> Layer, pugi::xml_node aXMLNode,
                                 const TFloatRect& Location);
    bool WriteFramePicture(TImgView32& View, const QString& AFileName, const QString& Ext);
    void LoadPicture(const QString& AFileName, TBitmap32& Picture);
    TTabSheet* NewPage(bool WithView);
    void ConfigureFrameView(TImgView32& View);
    void AppendFrameRecord(const TGifFrames& Record);
    void RemoveFrameRecord(int Index);
    int FindRecordIndex(const TTabSheet* Sheet) const;
    int FrameIndexOfPage(std::uint64_t PageId) const;
    TTabSheet* FrameSheet(std::uint64_t PageId) const;
    void ClearSelectionState();
    void ZoomChanged(const TImgView32& View);

    // The change path: every structural change of frames and layers goes through these.
    TUndos& AddUndo(TUndoType Kind, TTabSheet* Page);
    void Resize(int Width, int Height, bool Image);
    std::vector<TResizedFrame> SnapshotFrames() const;
    // Exchanges every frame's background and layer states with the snapshot.
    void SwapFrames(std::vector<TResizedFrame>& Frames);
    // The newest record took one more edit of its burst.
    void RenewNewestRecord();
    void AttachLayerHandlers(TCustomLayer& Layer);
    // Puts a layer (back) into a frame at Index (-1: on top) and announces it.
    TBitmapLayer* PutLayer(std::unique_ptr<TCustomLayer> Layer, TTabSheet& Page, int Index);
    // Takes a layer out of its frame; every reference to it is cleared first.
    std::unique_ptr<TCustomLayer> TakeLayer(TCustomLayer& Layer);
    // Takes a frame page out of the document (its layers stay in it) / puts it back at Index.
    std::unique_ptr<TTabSheet> TakeFrame(int Index, TGifFrames& Settings);
    void PutFrame(std::unique_ptr<TTabSheet> Page, const TGifFrames& Settings, int Index);
    void MoveFrame(int From, int To);
    void SwapFrameContent(TImgView32& View, TImgView32& Saved);
    void RecordRemoval(TPositionedLayer& Layer);
    void Flip(bool Horizontal);
    static std::unique_ptr<TTextLayer> MakeTextLayer();
    void AddShiftRecord(TPositionedLayer& Layer, const QString& OldLeftTop);
    void LayerChanged(TCustomLayer& Layer);

    // The canvas tools' steps.
    void DeleteHelpFigures();
    void CreateFigureAtRelease(TImgView32& View);
    void ApplyGradient(TImgView32& View, TShapeType Shape);
    void FillAtRelease();
    // A view point as a pixel of Layer's picture (the layer may be scaled).
    TPoint ViewToLayerPixel(const TImgView32& View, const TBitmapLayer& Layer, TPoint P) const;
    // The line width and edge count as the tools take them; a value out of range is written
    // back corrected.
    int ClampedLineWidth();
    int ClampedEdgeCount();
    int ClampedField(QString TPaletteState::*Field, int Low, int High);
    // Draws a figure or a text layer anew after a change of its style.
    static void RedrawStyled(TStyledLayer& Layer);
    void NoPattern();
    void RepaintStyled(TStyledLayer& Layer, TUndoType Kind, const std::function<void(T2DLayerStyle&)>& Edit);
    // Runs Edit on Layer; an Edit that throws leaves the layer as it was. Returns the state
    // from before the edit.
    std::unique_ptr<TBitmapLayer> EditRestoring(TBitmapLayer& Layer,
                                                const std::function<void(TBitmapLayer&)>& Edit);
    // A style edit with its undo entry, merged into the burst's entry when Continue allows.
    void ChangeStyle(TStyledLayer& Layer, TUndoType Kind, bool Continue,
                     const std::function<void(TStyledLayer&)>& Edit);
    void PaintFigureStyle(const T2DLayerStyle& ALayerStyle, bool Continue);
    // The palette's pattern (a file's picture, the existing picture kept, or the hatch) on Target.
    void ApplyPalettePattern(T2DLayerStyle& Target, const T2DLayerStyle* Existing,
                             const QString& PatternFileName) const;
    void PatternApplied(const T2DLayerStyle& Style);
    void StartDragOut();
    // A clone of Source on top of the current frame at Location, with an undo entry of Kind.
    TBitmapLayer* InsertClone(const TBitmapLayer& Source, TUndoType Kind, const TFloatRect& Location);

    void RubberbandMouseUp(TRubberbandLayer& Sender);
    void ResizingHandler(const TFloatRect& OldLocation, TFloatRect& NewLocation, TDragState DragState,
                         TShiftState Shift);
    void ApplyRubberbandChange();
    void DestroyPage(TTabSheet* Sheet);

    // Runs one record; false when its target is gone.
    bool RunRecord(TUndos& R);
    void RunNewestRecord(bool Redoing);
    void UndoListChanged();

    TDocHost& FHost;
    std::shared_ptr<TDocEventList> FEvents;
    std::vector<std::unique_ptr<TTabSheet>> FPages;
    std::vector<TGifFrames> FFrames;
    TTabSheet* FActivePage = nullptr;
    TTabSheet* FTabSheetGif = nullptr;
    int FNumLoops = 0;
    TLayerRef<TPositionedLayer> FSelection;
    TLayerRef<TRubberbandLayer> FRBLayer;
    TLayerRef<TRubberbandLayer> FMarkLayer;
    TFloatRect RBOldLocation, RBNewLocation, LocationBeforeDrag;
    // The selected plain picture's rectangle when its selection frame was pressed.
    TFloatRect FPlainBeforeDrag;
    bool bMove = false;
    bool bDrag = false;
    bool FDragFromFrame = false;
    // The interaction of the canvas tools: view pixels of the last press, movement and release,
    // the view pressed (compared, never followed), the dragged layer, and the help figures, which
    // exist from a press to its release. LocationBeforeDrag holds the dragged layer's place.
    TPoint MouseDown, MouseMove, MouseUp;
    const TImgView32* MouseDownSender = nullptr;
    TLayerRef<TPositionedLayer> FPointerLayer;
    TLayerRef<T2DLine> AHelpLine;
    TLayerRef<T2DRectangle> AHelpRect;
    TLayerRef<T2DPolygon> AHelpPolygon;
    TLayerRef<T2DEllipse> AHelpEllipse;
    QString FFileName;
    QString FAnimGifFileName;
    QString FCaption;
    std::unique_ptr<TGIFImage> FGifImg;
    std::vector<TUndos> FUndoList;
    std::vector<TUndos> FRedoList;
    // Serial of the newest record at the last save; 0: the document as created.
    std::uint64_t FSavedSerial = 0;
    // The undo entry of the last style burst; a continued edit merges into it.
    std::uint64_t FBurstSerial = 0;
    bool FWasModified = false;
    bool FDestroying = false;
    bool FAssembling = false;
    bool FToolMode = true;
    // Those of the project being read.
    TProjectLimits FReadLimits;
};

} // namespace zp
