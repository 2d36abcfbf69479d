// The tool-services object the IDE hands to each library's entry export.
#include "ide/CallLog.h"
#include "ide/Ide.h"

namespace ide {

namespace {

class TToolServices final : public host::TIToolServices {
public:
    explicit TToolServices(TIde* ide) : FIde(ide) {}
    void Detach() { FIde = nullptr; }

    bool CloseProject() override {
        RecordCall("CloseProject");
        return FIde && FIde->CloseProject();
    }
    bool OpenProject(const std::string& projName) override {
        RecordCall("OpenProject", {projName});
        return FIde && FIde->OpenProject(projName);
    }
    bool SaveProject() override {
        RecordCall("SaveProject");
        return FIde && FIde->SaveProject();
    }
    bool SaveFile(const std::string& fileName) override {
        RecordCall("SaveFile", {fileName});
        return FIde && FIde->SaveFile(fileName);
    }
    bool OpenFile(const std::string& fileName) override {
        RecordCall("OpenFile", {fileName});
        return FIde && FIde->OpenFile(fileName);
    }
    host::THandle GetParentHandle() override {
        RecordCall("GetParentHandle");
        return FIde ? FIde->MainWindowHandle() : 0;
    }
    std::string GetProjectName() override {
        RecordCall("GetProjectName");
        return FIde ? FIde->Project().FileName() : std::string();
    }
    int GetUnitCount() override {
        RecordCall("GetUnitCount");
        return FIde ? static_cast<int>(FIde->UnitFiles().size()) : 0;
    }
    std::string GetUnitName(int index) override {
        RecordCall("GetUnitName", {std::to_string(index)});
        if (!FIde)
            return {};
        auto units = FIde->UnitFiles();
        return index >= 0 && static_cast<size_t>(index) < units.size() ? units[static_cast<size_t>(index)]
                                                                        : std::string();
    }
    std::string GetCurrentFile() override {
        RecordCall("GetCurrentFile");
        return FIde ? FIde->CurrentFile() : std::string();
    }
    host::TIModuleInterface* GetModuleInterface(const std::string& fileName) override {
        RecordCall("GetModuleInterface", {fileName});
        return FIde ? NewModuleInterface(FIde->Buffers().Find(fileName)) : nullptr;
    }
    host::TIMainMenuIntf* GetMainMenu() override {
        RecordCall("GetMainMenu");
        return FIde ? FIde->Menu().NewIntf() : nullptr;
    }
    void RaiseException(const std::string& message) override {
        RecordCall("RaiseException", {message});
        if (FIde)
            FIde->ShowMessage(message);
    }

private:
    TIde* FIde;
};

} // namespace

host::TIToolServices* NewToolServices(TIde* ide) { return new TToolServices(ide); }

void DetachToolServices(host::TIToolServices* services) {
    if (services)
        static_cast<TToolServices*>(services)->Detach();
}

} // namespace ide
