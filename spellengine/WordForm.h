// The word-count window: the running totals of a count, and an OK button that closes it, which
// stops a count under way. One window for the library, made on first use with the application
// as owner, laid out by its form file WordForm.dfm. Implementations in WordForm.cpp.
#pragma once

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace spellengine {

class TWordForm : public vcl::TForm {
public:
    explicit TWordForm(vcl::TComponent* AOwner);
    ~TWordForm() override;

    // The library's window, or none before the first count.
    static TWordForm* Instance();
    // A count's start: makes the window when there is none and shows it.
    static void CountStarted();
    // Shows the totals and lets messages run; false once the user has closed the window.
    static bool CountProgress(int Total, int Unique);

    void btnOkClick(vcl::TObject* Sender);

    vcl::TLabel* lblWordsCaption = nullptr;
    vcl::TLabel* lblUniqueCaption = nullptr;
    vcl::TLabel* lblWords = nullptr;
    vcl::TLabel* lblUniqueWords = nullptr;
    vcl::TButton* btnOk = nullptr;
};

} // namespace spellengine
