// Message numbers, virtual-key codes and the other small constants of the window system, with the
// standard Windows values. Included by win/Windows.h.
#pragma once

namespace win {

// Window messages.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_ENABLE = 0x000A;
constexpr unsigned WM_SETREDRAW = 0x000B;
constexpr unsigned WM_SETTEXT = 0x000C;
constexpr unsigned WM_GETTEXT = 0x000D;
constexpr unsigned WM_GETTEXTLENGTH = 0x000E;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_SYSCOLORCHANGE = 0x0015;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
constexpr unsigned WM_WININICHANGE = 0x001A;
constexpr unsigned WM_ACTIVATEAPP = 0x001C;
constexpr unsigned WM_FONTCHANGE = 0x001D;
constexpr unsigned WM_CANCELMODE = 0x001F;
constexpr unsigned WM_SETCURSOR = 0x0020;
constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
constexpr unsigned WM_CHILDACTIVATE = 0x0022;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_NEXTDLGCTL = 0x0028;
constexpr unsigned WM_DRAWITEM = 0x002B;
constexpr unsigned WM_MEASUREITEM = 0x002C;
constexpr unsigned WM_SETFONT = 0x0030;
constexpr unsigned WM_GETFONT = 0x0031;
constexpr unsigned WM_WINDOWPOSCHANGING = 0x0046;
constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
constexpr unsigned WM_NOTIFY = 0x004E;
constexpr unsigned WM_HELP = 0x0053;
constexpr unsigned WM_CONTEXTMENU = 0x007B;
constexpr unsigned WM_DISPLAYCHANGE = 0x007E;
constexpr unsigned WM_STYLECHANGED = 0x007D;
constexpr unsigned WM_NCCREATE = 0x0081;
constexpr unsigned WM_NCDESTROY = 0x0082;
constexpr unsigned WM_NCCALCSIZE = 0x0083;
constexpr unsigned WM_NCHITTEST = 0x0084;
constexpr unsigned WM_NCPAINT = 0x0085;
constexpr unsigned WM_NCACTIVATE = 0x0086;
constexpr unsigned WM_GETDLGCODE = 0x0087;
constexpr unsigned WM_NCMOUSEMOVE = 0x00A0;
constexpr unsigned WM_NCLBUTTONDOWN = 0x00A1;
constexpr unsigned WM_NCLBUTTONUP = 0x00A2;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr unsigned WM_NCRBUTTONDOWN = 0x00A4;
constexpr unsigned WM_NCRBUTTONUP = 0x00A5;
constexpr unsigned WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr unsigned WM_NCMBUTTONDOWN = 0x00A7;
constexpr unsigned WM_NCMBUTTONUP = 0x00A8;
constexpr unsigned WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr unsigned WM_KEYFIRST = 0x0100;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_DEADCHAR = 0x0103;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_KEYLAST = 0x0108;
constexpr unsigned WM_INITDIALOG = 0x0110;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_HSCROLL = 0x0114;
constexpr unsigned WM_VSCROLL = 0x0115;
constexpr unsigned WM_INITMENU = 0x0116;
constexpr unsigned WM_INITMENUPOPUP = 0x0117;
constexpr unsigned WM_MENUSELECT = 0x011F;
constexpr unsigned WM_MENUCHAR = 0x0120;
constexpr unsigned WM_ENTERIDLE = 0x0121;
constexpr unsigned WM_CTLCOLORMSGBOX = 0x0132;
constexpr unsigned WM_CTLCOLOREDIT = 0x0133;
constexpr unsigned WM_CTLCOLORLISTBOX = 0x0134;
constexpr unsigned WM_CTLCOLORBTN = 0x0135;
constexpr unsigned WM_CTLCOLORDLG = 0x0136;
constexpr unsigned WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr unsigned WM_CTLCOLORSTATIC = 0x0138;
constexpr unsigned WM_MOUSEFIRST = 0x0200;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr int WHEEL_DELTA = 120;
constexpr unsigned WM_MOUSELAST = 0x0209;
constexpr unsigned WM_PARENTNOTIFY = 0x0210;
constexpr unsigned WM_ENTERMENULOOP = 0x0211;
constexpr unsigned WM_EXITMENULOOP = 0x0212;
constexpr unsigned WM_SIZING = 0x0214;
constexpr unsigned WM_CAPTURECHANGED = 0x0215;
constexpr unsigned WM_MOVING = 0x0216;
constexpr unsigned WM_ENTERSIZEMOVE = 0x0231;
constexpr unsigned WM_EXITSIZEMOVE = 0x0232;
constexpr unsigned WM_CUT = 0x0300;
constexpr unsigned WM_COPY = 0x0301;
constexpr unsigned WM_PASTE = 0x0302;
constexpr unsigned WM_CLEAR = 0x0303;
constexpr unsigned WM_UNDO = 0x0304;
constexpr unsigned WM_USER = 0x0400;

// Edit-control messages.
constexpr unsigned EM_GETSEL = 0x00B0;
constexpr unsigned EM_SETSEL = 0x00B1;
constexpr unsigned EM_GETRECT = 0x00B2;
constexpr unsigned EM_LINESCROLL = 0x00B6;
constexpr unsigned EM_SCROLLCARET = 0x00B7;
constexpr unsigned EM_GETMODIFY = 0x00B8;
constexpr unsigned EM_SETMODIFY = 0x00B9;
constexpr unsigned EM_GETLINECOUNT = 0x00BA;
constexpr unsigned EM_LINEINDEX = 0x00BB;
constexpr unsigned EM_LINELENGTH = 0x00C1;
constexpr unsigned EM_REPLACESEL = 0x00C2;
constexpr unsigned EM_GETLINE = 0x00C4;
constexpr unsigned EM_LIMITTEXT = 0x00C5;
constexpr unsigned EM_CANUNDO = 0x00C6;
constexpr unsigned EM_UNDO = 0x00C7;
constexpr unsigned EM_LINEFROMCHAR = 0x00C9;
constexpr unsigned EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr unsigned EM_SETREADONLY = 0x00CF;
// Edit notifications, in the high word of WM_COMMAND's wParam.
constexpr unsigned EN_CHANGE = 0x0300;

// WM_SYSCOMMAND commands.
constexpr unsigned SC_SIZE = 0xF000;
constexpr unsigned SC_MOVE = 0xF010;
constexpr unsigned SC_MINIMIZE = 0xF020;
constexpr unsigned SC_MAXIMIZE = 0xF030;
constexpr unsigned SC_CLOSE = 0xF060;
constexpr unsigned SC_RESTORE = 0xF120;
constexpr unsigned SC_CONTEXTHELP = 0xF180;
// The edge that WM_SIZING moves (and SC_SIZE + edge from a sizing border).
constexpr unsigned WMSZ_LEFT = 1;
constexpr unsigned WMSZ_RIGHT = 2;
constexpr unsigned WMSZ_TOP = 3;
constexpr unsigned WMSZ_TOPLEFT = 4;
constexpr unsigned WMSZ_TOPRIGHT = 5;
constexpr unsigned WMSZ_BOTTOM = 6;
constexpr unsigned WMSZ_BOTTOMLEFT = 7;
constexpr unsigned WMSZ_BOTTOMRIGHT = 8;

// WM_ACTIVATE states.
constexpr unsigned WA_INACTIVE = 0;
constexpr unsigned WA_ACTIVE = 1;
constexpr unsigned WA_CLICKACTIVE = 2;

// WM_SIZE kinds.
constexpr unsigned SIZE_RESTORED = 0;
constexpr unsigned SIZE_MINIMIZED = 1;
constexpr unsigned SIZE_MAXIMIZED = 2;

// WM_MOUSEACTIVATE answers.
constexpr int MA_ACTIVATE = 1;
constexpr int MA_ACTIVATEANDEAT = 2;
constexpr int MA_NOACTIVATE = 3;
constexpr int MA_NOACTIVATEANDEAT = 4;

// WM_NCHITTEST answers.
constexpr int HTERROR = -2;
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTSYSMENU = 3;
constexpr int HTMENU = 5;
constexpr int HTHSCROLL = 6;
constexpr int HTVSCROLL = 7;
constexpr int HTMINBUTTON = 8;
constexpr int HTMAXBUTTON = 9;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTBORDER = 18;
constexpr int HTCLOSE = 20;
constexpr int HTHELP = 21;

// WM_GETDLGCODE answers.
constexpr int DLGC_WANTARROWS = 0x0001;
constexpr int DLGC_WANTTAB = 0x0002;
constexpr int DLGC_WANTALLKEYS = 0x0004;
constexpr int DLGC_WANTMESSAGE = 0x0004;
constexpr int DLGC_HASSETSEL = 0x0008;
constexpr int DLGC_DEFPUSHBUTTON = 0x0010;
constexpr int DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr int DLGC_RADIOBUTTON = 0x0040;
constexpr int DLGC_WANTCHARS = 0x0080;
constexpr int DLGC_STATIC = 0x0100;
constexpr int DLGC_BUTTON = 0x2000;

// Scroll bars: bars, request codes and SCROLLINFO masks.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;
constexpr unsigned SIF_RANGE = 0x0001;
constexpr unsigned SIF_PAGE = 0x0002;
constexpr unsigned SIF_POS = 0x0004;
constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;
constexpr unsigned SIF_TRACKPOS = 0x0010;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Mouse-message key flags (wParam).
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;
constexpr unsigned MK_MBUTTON = 0x0010;

// PeekMessage options.
constexpr unsigned PM_NOREMOVE = 0x0000;
constexpr unsigned PM_REMOVE = 0x0001;
constexpr unsigned PM_NOYIELD = 0x0002;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
constexpr unsigned VK_LBUTTON = 0x01;
constexpr unsigned VK_RBUTTON = 0x02;
constexpr unsigned VK_CANCEL = 0x03;
constexpr unsigned VK_MBUTTON = 0x04;
constexpr unsigned VK_BACK = 0x08;
constexpr unsigned VK_TAB = 0x09;
constexpr unsigned VK_CLEAR = 0x0C;
constexpr unsigned VK_RETURN = 0x0D;
constexpr unsigned VK_SHIFT = 0x10;
constexpr unsigned VK_CONTROL = 0x11;
constexpr unsigned VK_MENU = 0x12;
constexpr unsigned VK_PAUSE = 0x13;
constexpr unsigned VK_CAPITAL = 0x14;
constexpr unsigned VK_ESCAPE = 0x1B;
constexpr unsigned VK_SPACE = 0x20;
constexpr unsigned VK_PRIOR = 0x21;
constexpr unsigned VK_NEXT = 0x22;
constexpr unsigned VK_END = 0x23;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_LEFT = 0x25;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_RIGHT = 0x27;
constexpr unsigned VK_DOWN = 0x28;
constexpr unsigned VK_SELECT = 0x29;
constexpr unsigned VK_PRINT = 0x2A;
constexpr unsigned VK_SNAPSHOT = 0x2C;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_HELP = 0x2F;
constexpr unsigned VK_LWIN = 0x5B;
constexpr unsigned VK_RWIN = 0x5C;
constexpr unsigned VK_APPS = 0x5D;
constexpr unsigned VK_NUMPAD0 = 0x60;
constexpr unsigned VK_NUMPAD9 = 0x69;
constexpr unsigned VK_MULTIPLY = 0x6A;
constexpr unsigned VK_ADD = 0x6B;
constexpr unsigned VK_SEPARATOR = 0x6C;
constexpr unsigned VK_SUBTRACT = 0x6D;
constexpr unsigned VK_DECIMAL = 0x6E;
constexpr unsigned VK_DIVIDE = 0x6F;
constexpr unsigned VK_F1 = 0x70;
constexpr unsigned VK_F4 = 0x73;
constexpr unsigned VK_F10 = 0x79;
constexpr unsigned VK_F11 = 0x7A;
constexpr unsigned VK_F12 = 0x7B;
constexpr unsigned VK_F24 = 0x87;
constexpr unsigned VK_NUMLOCK = 0x90;
constexpr unsigned VK_SCROLL = 0x91;
constexpr unsigned VK_LSHIFT = 0xA0;
constexpr unsigned VK_RSHIFT = 0xA1;
constexpr unsigned VK_LCONTROL = 0xA2;
constexpr unsigned VK_RCONTROL = 0xA3;
constexpr unsigned VK_LMENU = 0xA4;
constexpr unsigned VK_RMENU = 0xA5;
constexpr unsigned VK_OEM_1 = 0xBA;      // ;:
constexpr unsigned VK_OEM_PLUS = 0xBB;   // =+
constexpr unsigned VK_OEM_COMMA = 0xBC;  // ,<
constexpr unsigned VK_OEM_MINUS = 0xBD;  // -_
constexpr unsigned VK_OEM_PERIOD = 0xBE; // .>
constexpr unsigned VK_OEM_2 = 0xBF;      // /?
constexpr unsigned VK_OEM_3 = 0xC0;      // `~
constexpr unsigned VK_OEM_4 = 0xDB;      // [{
constexpr unsigned VK_OEM_5 = 0xDC;      // \|
constexpr unsigned VK_OEM_6 = 0xDD;      // ]}
constexpr unsigned VK_OEM_7 = 0xDE;      // '"

// MessageBeep kinds.
constexpr unsigned MB_OK = 0x00000000;
constexpr unsigned MB_ICONHAND = 0x00000010;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr unsigned MB_ICONEXCLAMATION = 0x00000030;
constexpr unsigned MB_ICONASTERISK = 0x00000040;

} // namespace win
