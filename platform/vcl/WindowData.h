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

} // namespace vcl
