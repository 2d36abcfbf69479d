// The expert's editor window: the file being checked, in the IDE's font and colours, with its
// name on a tab and the check's progress in the status bar. The checking driver shows files in
// it and runs its spell-check component over them. Its layout is its form file QuilloEdit32.dfm.
// Implementations in IDESpeller.cpp.
#pragma once

#include "spellexpert/SpellQuillo.h"

#include "editor/ZelController.h"
#include "editor/ZelTextFileEditor.h"
#include "vcl/ComCtrls.h"
#include "vcl/Forms.h"

#include <string>

namespace spellexpert {

class TIDESpeller : public vcl::TForm {
public:
    explicit TIDESpeller(vcl::TComponent* AOwner);
    ~TIDESpeller() override;

    // Frees the syntax list, empties the editor and loads the file (the editor's load error
    // passes on).
    void LoadFile(const std::string& FileName);
    // Names the file on the caption and tab, says what is being checked, and colours it.
    void ShowFileInEditor(const std::string& FileName);
    // The editor's text from the ANSI code page to OEM, or back, in place: form text is checked
    // in OEM. Neither is an edit: the modified flag stays.
    void ConvertLinesToOem();
    void ConvertLinesToAnsi();

    void FormCreate(vcl::TObject* Sender);
    void FormShow(vcl::TObject* Sender);
    void FormResize(vcl::TObject* Sender);
    // A check in progress ends as cancelled; the window is hidden, not freed.
    void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);
    // Draws a source line in its syntax colours (SyntaxColour.h).
    void Editor1DrawLine(vcl::TObject* Sender, vcl::TCanvas* EditorCanvas, vcl::TRect LineRect, const char* S,
                         int Len, std::int32_t Line, int LinePos, int Count, std::int32_t HBLine, int HBCol,
                         std::int32_t HELine, int HECol, bool& WasDrawn);
    void Editor1TopLineChanged(vcl::TObject* Sender, std::int32_t Line);

    vcl::TTabControl* TabControl1 = nullptr;
    editor::TZelTextFileEditor* Editor1 = nullptr;
    vcl::TStatusBar* Status = nullptr;
    editor::TZelController* ZelController1 = nullptr;
    TSpellQuillo* SpellDlg1 = nullptr;

private:
    void AttachPainter(bool On);
    // Caret place, modified flag and insert mode in the status panels.
    void ShowEditorState();

    editor::TEditorDrawLineEvent FPainter;
};

} // namespace spellexpert
