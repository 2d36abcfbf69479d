// The IDE's tool-services object, handed to each library's entry export. Its operations stand
// in the IDE's order. Implemented by the IDE (ide/ToolServices.cpp).
//
// Names are full Windows-form file names. The object returned by GetModuleInterface or
// GetMainMenu carries one reference for the caller.
#pragma once

#include "host/EditorIntf.h"
#include "host/Interface.h"
#include "host/MenuIntf.h"

#include <string>

namespace host {

class TIToolServices : public TInterface {
public:
    virtual bool CloseProject() = 0;
    virtual bool OpenProject(const std::string& projName) = 0;
    // Writes every modified open buffer and the project's desktop file.
    virtual bool SaveProject() = 0;
    // Does nothing for a file that is not open.
    virtual bool SaveFile(const std::string& fileName) = 0;
    // Makes the file the current one; a missing file does nothing.
    virtual bool OpenFile(const std::string& fileName) = 0;
    // The IDE main window's handle.
    virtual THandle GetParentHandle() = 0;
    // Empty when no project is open.
    virtual std::string GetProjectName() = 0;
    virtual int GetUnitCount() = 0;
    // Unit 0 is the project file, then the units of its uses clause; empty out of range.
    virtual std::string GetUnitName(int index) = 0;
    // The file active in the code editor; empty when none.
    virtual std::string GetCurrentFile() = 0;
    // Null for a file that is not open.
    virtual TIModuleInterface* GetModuleInterface(const std::string& fileName) = 0;
    virtual TIMainMenuIntf* GetMainMenu() = 0;
    // The IDE shows the message; the caller then goes on normally.
    virtual void RaiseException(const std::string& message) = 0;
};

} // namespace host
