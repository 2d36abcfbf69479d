// The IDE's objects over one open source file: its module, the editor of its buffer, and the
// readers, writers and views made from that editor. Implemented by the IDE (ide/EditBuffers.h).
//
// Buffer offsets count characters from 0, a line break being its two characters CR LF. Every
// object an operation returns carries one reference for the caller, who releases it.
#pragma once

#include "host/Interface.h"

#include <cstdint>

namespace host {

class TIEditReader;
class TIEditWriter;
class TIEditView;
class TIEditorInterface;

// A place in a view: 1-based column (a TAB counts one) and 1-based line.
struct TEditPos {
    std::int16_t Col = 1;
    std::int32_t Line = 1;
    friend bool operator==(const TEditPos&, const TEditPos&) = default;
};

class TIModuleInterface : public TInterface {
public:
    virtual TIEditorInterface* GetEditorInterface() = 0;
};

class TIEditorInterface : public TInterface {
public:
    virtual TIEditReader* CreateReader() = 0;
    // The writer starts at offset 0; its edits enter the buffer when its last reference goes.
    virtual TIEditWriter* CreateWriter() = 0;
    // The number of line breaks plus one.
    virtual int LinesInBuffer() = 0;
    // View 0 exists for every open buffer; any other index gives null.
    virtual TIEditView* GetView(int index) = 0;
};

class TIEditReader : public TInterface {
public:
    // Copies at most count characters from position into buffer and returns how many it copied;
    // a position below 0 or at or past the end copies nothing. No terminating zero is added.
    virtual int GetText(int position, char* buffer, int count) = 0;
};

class TIEditWriter : public TInterface {
public:
    // Moves forward to position (an offset in the text as it was before any insertion), keeping
    // the text it passes. A position at or behind the writer does nothing; past the end it stops
    // at the end. Returns whether the writer moved.
    virtual bool CopyTo(int position) = 0;
    // Inserts the zero-terminated text at the writer, which stays behind it.
    virtual bool Insert(const char* text) = 0;
};

class TIEditView : public TInterface {
public:
    // Position 0 is the cursor, 1 the top line shown.
    virtual TEditPos GetPos(int index) = 0;
    // Line 0 and lines past the end are clamped to the first and last line.
    virtual void SetPos(int index, TEditPos pos) = 0;
};

} // namespace host
