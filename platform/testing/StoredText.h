// The text form of what a stored form keeps of a component, for tests that read what was
// written. Header only: it is compiled into the test, with the test's own copy of the class
// library.
#pragma once

#include "rtl/FormFiles.h"
#include "rtl/Streams.h"
#include "vcl/Streaming.h"

#include <string>

namespace testing_support {

// The text of a binary component stream, read from its start; the stream is left at its end.
inline std::string BinaryAsText(rtl::TStream& Binary) {
    Binary.SetPosition(0);
    rtl::TStringStream text;
    rtl::ObjectBinaryToText(Binary, text);
    return text.DataString();
}

// The component written as a form stores it, in text.
inline std::string StoredText(vcl::TComponent* Component) {
    rtl::TMemoryStream binary;
    vcl::WriteComponentToStream(Component, binary);
    return BinaryAsText(binary);
}

} // namespace testing_support
