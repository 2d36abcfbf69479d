// The persistent looks the editor controls publish: caret looks and the carets that draw them,
// colour pairs with defaults, and a font kept to fixed-pitch faces, with the list of those
// faces. Each tells its one owner of every change through OnChange.
// Implementations in ZelLooks.cpp.
#pragma once

#include "vcl/Controls.h"
#include "vcl/Graphics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace editor {

enum class TZelCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };
enum class TZelCaretAlign { caLeft, caTop, caRight, caBottom, caCenter };

// A caret look; one look may serve several carets, and lives while any of them holds it.
class TZelCaret : public vcl::TPersistent {
public:
    TZelCaret();
    ~TZelCaret() override;

    TZelCaretShape Shape() const { return FShape; }
    // Also sets the alignment and sizes that go with the shape.
    void SetShape(TZelCaretShape Value);
    TZelCaretAlign Align() const { return FAlign; }
    void SetAlign(TZelCaretAlign Value);
    vcl::TBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies the image; none is ignored.
    void SetBitmap(vcl::TBitmap* Value);
    int BitmapHotSpotX() const { return FHotSpotX; }
    int BitmapHotSpotY() const { return FHotSpotY; }
    void SetBitmapHotSpotX(int Value);
    void SetBitmapHotSpotY(int Value);
    // 0 keeps the system's blink time.
    std::uint16_t BlinkTime() const { return FBlinkTime; }
    void SetBlinkTime(std::uint16_t Value);
    // Values below 1 are ignored.
    int CaretHeight() const { return FHeight; }
    int CaretWidth() const { return FWidth; }
    void SetCaretHeight(int Value);
    void SetCaretWidth(int Value);
    bool IsGray() const { return FIsGray; }
    void SetIsGray(bool Value);

    vcl::TNotifyEvent OnChange;

private:
    friend class TZelSingleCaret;
    void Changed();

    // The caret that set OnChange, so that only it clears it.
    const void* FListener = nullptr;
    TZelCaretShape FShape = TZelCaretShape::csVertLine;
    TZelCaretAlign FAlign = TZelCaretAlign::caLeft;
    std::unique_ptr<vcl::TBitmap> FBitmap;
    int FHotSpotX = 0;
    int FHotSpotY = 0;
    std::uint16_t FBlinkTime = 0;
    int FHeight = 10;
    int FWidth = 2;
    bool FIsGray = false;
};

using TZelCaretRef = std::shared_ptr<TZelCaret>;

// A caret bound to one control: the look placed in a character cell, drawn by the system caret
// while linked (the control has the focus).
class TZelSingleCaret : public vcl::TPersistent {
public:
    // Stands for a caret that is not placed.
    static constexpr int NotPlaced = 2147483647;

    explicit TZelSingleCaret(vcl::TWinControl* Owner);
    ~TZelSingleCaret() override;

    const TZelCaretRef& CaretType() const { return FLook; }
    // None is ignored.
    void SetCaretType(TZelCaretRef Value);
    // Unlinks, recomputes size and offset, and links again when it was linked.
    void CaretTypeHasChanged();

    int CellHeight() const { return FCellHeight; }
    int CellWidth() const { return FCellWidth; }
    void SetCellHeight(int Value);
    void SetCellWidth(int Value);

    bool Linked() const { return FLinked; }
    // Linking needs the owner's window; without one the caret stays unlinked.
    void SetLinked(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    int X() const { return FX; }
    int Y() const { return FY; }
    // Negative coordinates stand for a caret that is not placed.
    void SetPosition(int X, int Y);
    int Dx() const { return FDx; }
    int Dy() const { return FDy; }

private:
    void Compute();
    void Link();
    void Unlink();
    void Place();
    void ReleaseLook();

    TZelCaretRef FLook;
    vcl::TWinControl* FOwner;
    int FCellHeight = 10;
    int FCellWidth = 10;
    int FX = NotPlaced;
    int FY = NotPlaced;
    int FDx = 0;
    int FDy = 0;
    bool FLinked = false;
    bool FVisible = false;
    unsigned FSavedBlinkTime = 0;
};

// A caret that shows an insert look or an overwrite look by the insert mode.
class TZelCaretPair : public TZelSingleCaret {
public:
    explicit TZelCaretPair(vcl::TWinControl* Owner);
    ~TZelCaretPair() override;

    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool Value);
    const TZelCaretRef& CaretIns() const { return FInsLook; }
    const TZelCaretRef& CaretOvr() const { return FOvrLook; }
    void SetCaretIns(TZelCaretRef Value);
    void SetCaretOvr(TZelCaretRef Value);

private:
    TZelCaretRef FInsLook;
    TZelCaretRef FOvrLook;
    bool FInsertMode = true;
};

// A back and a text colour with the defaults they return to.
class TZelColors : public vcl::TPersistent {
public:
    TZelColors(vcl::TColor DefaultText, vcl::TColor DefaultBack);

    vcl::TColor BackColor() const { return FBackColor; }
    vcl::TColor TextColor() const { return FTextColor; }
    // A colour other than its default clears UseDefault.
    void SetBackColor(vcl::TColor Value);
    void SetTextColor(vcl::TColor Value);
    bool UseDefault() const { return FUseDefault; }
    // True brings both default colours back.
    void SetUseDefault(bool Value);
    vcl::TColor DefaultBack() const { return FDefaultBack; }
    vcl::TColor DefaultText() const { return FDefaultText; }

    void Assign(vcl::TPersistent* Source) override;

    vcl::TNotifyEvent OnChange;

private:
    void Changed();

    vcl::TColor FDefaultText;
    vcl::TColor FDefaultBack;
    vcl::TColor FBackColor;
    vcl::TColor FTextColor;
    bool FUseDefault = true;
};

// A font whose face is always one of the fixed-pitch faces.
class TZelFixedFont : public vcl::TPersistent {
public:
    // The first fixed-pitch face.
    TZelFixedFont();
    ~TZelFixedFont() override;

    vcl::TFont& Font() { return *FFont; }
    vcl::TColor Color() const { return FFont->Color(); }
    void SetColor(vcl::TColor Value);
    const std::string& Name() const { return FFont->Name(); }
    // A face that is not fixed-pitch is ignored.
    void SetName(const std::string& Value);
    int Size() const { return FFont->Size(); }
    void SetSize(int Value);
    vcl::TFontStyles Style() const { return FFont->Style(); }
    void SetStyle(vcl::TFontStyles Value);

    // From another fixed font or a fixed-pitch TFont; EInvalidFixedFont for a proportional
    // font, EInvalidFontParam for anything else. A refused source changes nothing.
    void Assign(vcl::TPersistent* Source) override;

    vcl::TNotifyEvent OnChange;

private:
    void Changed();
    std::unique_ptr<vcl::TFont> FFont;
};

// The fixed-pitch faces of the screen in the order the system lists them, gathered on first
// use; refreshed only on request.
const std::vector<std::string>& FixedPitchFaces();
void RefreshFixedPitchFaces();
// Compared exactly.
bool IsFixedPitchFace(const std::string& Name);

} // namespace editor
