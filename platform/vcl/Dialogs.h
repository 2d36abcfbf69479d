// Message boxes and the input query as real modal windows. Implementations in Dialogs.cpp.
#pragma once

#include "vcl/Forms.h"

#include <string>

namespace vcl {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : unsigned {
    mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64, mbAll = 128, mbHelp = 256,
};
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// The dialog itself, not yet shown: an icon named "Image", the text "Message", the buttons
// named after their kind ("Yes", "OK", "Help"...). The caller frees it.
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Answers the button's modal result; Help shows the help context and leaves the box open.
int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
// The application's title as its caption, one OK button.
void ShowMessage(const std::string& Msg);
// OK answers true and gives the edited text back; Cancel leaves Value as it was.
bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value);
std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault);

// The system's message box: the buttons and icon in Flags, the answer an ID value.
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_ICONSTOP = win::MB_ICONHAND;
constexpr unsigned MB_ICONERROR = win::MB_ICONHAND;
constexpr unsigned MB_ICONWARNING = win::MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = win::MB_ICONASTERISK;
constexpr unsigned MB_DEFBUTTON1 = 0x0000;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;
constexpr unsigned MB_DEFBUTTON3 = 0x0200;
constexpr unsigned MB_APPLMODAL = 0x0000;
constexpr unsigned MB_SYSTEMMODAL = 0x1000;
constexpr unsigned MB_TASKMODAL = 0x2000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// An empty caption reads "Error", as the system's box did.
int MessageBox(win::HWND Owner, const std::string& Text, const std::string& Caption, unsigned Flags);

} // namespace vcl
