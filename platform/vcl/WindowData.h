// What the class library tells about its windows to code that only sees the window system (the
// test robot, which serves every library's copy of the class library): a control's name. Only
// constants, so that it can be included without linking the class library.
#pragma once

namespace vcl {

// wParam: the buffer size, lParam: a char buffer. The control copies its Name (cut to fit, with
// a zero) and answers the name's full length plus one; windows that are no control answer 0.
constexpr unsigned CM_GETCOMPONENTNAME = 0xB0F0;
// Answers 1 from every window of the class library (to tell them from others).
constexpr unsigned CM_ISVCLCONTROL = 0xB0F1;

// Answers 1 from a form while its modal loop runs.
constexpr unsigned CM_ISMODAL = 0xB0F3;
// lParam: a TChildTextQuery. A control with a child of that name (a window or a graphic control)
// puts the child's text there and answers 1; otherwise 0.
constexpr unsigned CM_GETCHILDTEXT = 0xB0F2;
struct TChildTextQuery {
    const char* Name;
    char* Buffer;
    int BufferSize;
};

} // namespace vcl
