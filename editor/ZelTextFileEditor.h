// The editor control bound to one text file: loads it line by line into paragraphs and saves the
// paragraphs back through the runtime's atomic rewrite, with an optional backup copy.
// Implementations in ZelTextFileEditor.cpp.
#pragma once

#include "editor/ZelEditor.h"
#include "editor/ZelExceptions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

// A load that could not keep the file as it stands: Line is the file's line (from 1) that was
// split into several paragraphs, or the first line the text model refused (with the lines after
// it). What the model could hold is loaded; the editor is not marked open.
class ETextFileLoadError : public EZelException {
public:
    ETextFileLoadError(std::string message, std::string fileName, std::int32_t line, std::int32_t code)
        : EZelException(std::move(message), code), FileName(std::move(fileName)), Line(line) {}
    const char* ClassName() const override { return "ETextFileLoadError"; }
    std::string FileName;
    std::int32_t Line;
};

// A name of two or more characters ending in a period loses that period.
std::string NormaliseFileName(std::string_view Name);

class TZelCustomTextFileEditor : public TZelCustomEditor {
public:
    explicit TZelCustomTextFileEditor(vcl::TComponent* AOwner);

    const std::string& BackupExt() const { return FBackupExt; }
    // At most three characters are kept.
    void SetBackupExt(const std::string& Value) { FBackupExt = Value.substr(0, 3); }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Value);
    bool MakeBackup() const { return FMakeBackup; }
    void SetMakeBackup(bool Value) { FMakeBackup = Value; }
    bool IsOpen() const { return FIsOpen; }
    void SetIsOpen(bool Value);

    // Empty names do nothing. A failed load raises the platform's file error (dropped while the
    // component is read from a stream) and leaves the editor not open.
    virtual void LoadFromFile(const std::string& Name);
    // The old file stays whole until the new one is complete.
    virtual void SaveToFile(const std::string& Name);

    void AttachTo(TZelCustomEditor* Editor) override;

protected:
    void Loaded() override;
    // With MakeBackup, copies an existing file Name to Name with BackupExt; never touches Name.
    void MakeBackupCopy(const std::string& Name);

private:
    std::string FBackupExt = "BAK";
    std::string FFileName;
    bool FMakeBackup = false;
    bool FIsOpen = false;
};

class TZelTextFileEditor : public TZelCustomTextFileEditor {
public:
    using TZelCustomTextFileEditor::TZelCustomTextFileEditor;
};

} // namespace editor
