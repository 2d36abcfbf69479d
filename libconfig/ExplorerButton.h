// The flat toolbar button: no border until the pointer is over it, a grey picture while it is
// elsewhere, an optional drop-down mark, and groups that stay down. Implementations in
// ExplorerButton.cpp.
#pragma once

#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <memory>
#include <string>

namespace libconfig {

enum class TButtonBevel { bsLowered, bsRaised };
enum class TButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };
enum TButtonOption : unsigned { boMonoDisplay = 1, boIconOnly = 2, boPopupMark = 4 };
using TButtonOptions = unsigned;
enum class TShadingType { stLight, stMedium, stDark };

// "&&" becomes "&", a single "&" before a character goes, a "&" at the very end stays.
std::string StripAccelChars(const std::string& Text);

// The tone of a grey-copy pixel whose colour components add up to Sum.
vcl::TColor MonoTone(int Sum, TShadingType Shading);

class TExplorerButton : public vcl::TGraphicControl {
public:
    explicit TExplorerButton(vcl::TComponent* AOwner);
    ~TExplorerButton() override;

    vcl::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(vcl::TAlignment Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    TButtonBevel BevelStyle() const { return FBevelStyle; }
    void SetBevelStyle(TButtonBevel Value);
    vcl::TBitmap* NoFocusBitmap() const { return FNoFocusBitmap.get(); }
    void SetNoFocusBitmap(vcl::TBitmap* Value);
    vcl::TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(vcl::TBitmap* Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    vcl::TBitmap* DisabledBitmap() const { return FDisabledBitmap.get(); }
    void SetDisabledBitmap(vcl::TBitmap* Value);
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // The pop-up menu shown below the button on a press; not owned.
    vcl::TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(vcl::TPopupMenu* Value);
    void SetEnabled(bool Value) override;
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    TButtonOptions Options() const { return FOptions; }
    void SetOptions(TButtonOptions Value);
    TShadingType ShadingType() const { return FShadingType; }
    void SetShadingType(TShadingType Value);
    bool ShowDownPattern() const { return FShowDownPattern; }
    void SetShowDownPattern(bool Value);
    vcl::TColor UnselectedFontColor() const { return FUnselectedFontColor; }
    void SetUnselectedFontColor(vcl::TColor Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }
    // The grey copy of Bitmap shown while the pointer is elsewhere (empty when none is made).
    vcl::TBitmap* MonoBitmap() const { return FMonoBitmap.get(); }
    void CreateMonoBitmap();

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void WMLButtonDown(vcl::TMessage& Message) override;
    void WMLButtonUp(vcl::TMessage& Message) override;
    void WMLButtonDblClk(vcl::TMessage& Message) override;
    void WMRButtonUp(vcl::TMessage& Message) override;
    void WMMouseMove(vcl::TMessage& Message) override;
    void CMTextChanged(vcl::TMessage& Message) override;
    void CMDialogChar(vcl::TMessage& Message) override;

private:
    friend struct TCaptureHook;
    void BitmapChanged();
    void RebuildMonoIfNeeded();
    bool WindowActive() const;
    bool PointerOver() const;
    void TakeCapture();
    void LoseCapture();
    void CaptureTaken(); // another window took the capture
    void AfterMenu();
    void RaiseOthersOfGroup();
    void DrawBevel(bool Raised);
    void DrawTransparentBitmap(vcl::TBitmap* Picture, int X, int Y);
    void DrawDisabledImage(vcl::TBitmap* Picture, int X, int Y);
    void DrawDropDownMark(int X, int Y, vcl::TColor Colour);
    void DrawCaption(const std::string& Text, vcl::TRect R, vcl::TColor Colour);
    unsigned TextFlags() const;

    vcl::TAlignment FAlignment = vcl::TAlignment::taCenter;
    bool FAllowAllUp = false;
    TButtonBevel FBevelStyle = TButtonBevel::bsRaised;
    std::unique_ptr<vcl::TBitmap> FNoFocusBitmap;
    std::unique_ptr<vcl::TBitmap> FBitmap;
    std::unique_ptr<vcl::TBitmap> FDisabledBitmap;
    std::unique_ptr<vcl::TBitmap> FMonoBitmap;
    int FGroupIndex = 0;
    bool FDown = false;
    vcl::TPopupMenu* FDropDownMenu = nullptr;
    TButtonLayout FLayout = TButtonLayout::blBitmapTop;
    TButtonOptions FOptions = boMonoDisplay | boPopupMark;
    TShadingType FShadingType = TShadingType::stMedium;
    bool FShowDownPattern = true;
    vcl::TColor FUnselectedFontColor = vcl::clWindowText;
    bool FWordWrap = false;

    bool FPressed = false;
    bool FHot = false;
    bool FCaptured = false;
    bool FWin95Family = true;
};

} // namespace libconfig
