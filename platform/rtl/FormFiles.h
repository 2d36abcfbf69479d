// Form files: conversion of binary object streams and binary form files to their text form and
// back, over the reader and writer of BinaryObjects.h. Implementations in FormFiles.cpp.
//
// The text form:
//   object Form1: TForm1            (also "inherited", "inline", a bare "object TClass",
//     Left = 10                      and "[n]" after the class for a child position)
//     Font.Style = [fsBold, fsItalic]
//     Caption = 'It''s'#13#10'here'
//     Items.Strings = (
//       'one'
//       2)
//     Columns = <
//       item
//         Width = 50
//       end>
//     Data = {
//       0A0B0C}
//     object Button1: TButton
//     end
//   end
// Text is cp1252; lines end in CR LF on output, CR LF, LF or CR on input. Strings write their
// characters below 32 as #nnn; in a wide string the characters above 126 are #nnn too (UTF-16
// units). Strings over 64 characters are broken into pieces joined with "+". Floats carry a
// suffix for their type: S single, C currency, D date, none for the 10-byte float.
#pragma once

#include "rtl/Streams.h"

#include <string_view>

namespace rtl {

// A bare stream: "TPF0" and one object. Output is written only when the conversion succeeds;
// corrupt or truncated input raises EReadError (with the offset), an unparsable text
// EParserError (with the line number). Text input is left just after the object's "end".
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);

// A binary form file: the resource header (0xFF, word 10, the class name in capitals and a zero
// byte, word 0x1030, dword data size), then the bare stream. Reading checks the first three
// bytes of the header and skips the rest.
void ObjectResourceToText(TStream& input, TStream& output);
void ObjectTextToResource(TStream& input, TStream& output);

// The same between named files (suite names): the target is replaced atomically, so a failed
// conversion leaves what was there before. Opening the source raises EFOpenError.
void ObjectResourceFileToTextFile(std::string_view resourceFile, std::string_view textFile);
void ObjectTextFileToResourceFile(std::string_view textFile, std::string_view resourceFile);

} // namespace rtl
