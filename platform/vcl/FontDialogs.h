// The font dialog: a modal window of this library's own made for each Execute.
// Implementations in FontDialogs.cpp.
#pragma once

#include "vcl/Forms.h"

#include <memory>

namespace vcl {

enum TFontDialogOptionFlag : unsigned {
    fdEffects = 1, // strikeout, underline and the colour
};
using TFontDialogOptions = unsigned;

// The window "Font": the faces of Screen->Fonts() ("FaceCombo"), the styles ("StyleCombo"), the
// sizes ("SizeCombo"), each typed or chosen; with fdEffects the "Effects" group
// ("StrikeOutCheck", "UnderlineCheck", "ColorCombo"); the "Sample" shown in the font chosen.
class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;

    // The window starts from Font; OK puts the choice into it and answers true, Cancel leaves it.
    virtual bool Execute();

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFontDialogOptions Options() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

private:
    std::unique_ptr<TFont> FFont;
    TFontDialogOptions FOptions = fdEffects;
    int FHelpContext = 0;
};

} // namespace vcl
