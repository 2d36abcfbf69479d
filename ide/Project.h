// The project open in the IDE: its project file, the units its uses clause names, and the
// window places its desktop file (.DSK) keeps. Implementations in Project.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ide {

struct TWindowPlace {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TWindowPlace&, const TWindowPlace&) = default;
};

// One entry of a uses clause: the unit's name and, for "Name in 'file'", the file as written.
struct TUsesEntry {
    std::string UnitName;
    std::string InFile;
};

class TProject {
public:
    bool IsOpen() const { return !FFileName.empty(); }
    // Full Windows-form names.
    const std::string& FileName() const { return FFileName; }
    std::string Folder() const;       // with its trailing '\'
    std::string DesktopFile() const;  // the project file with ".DSK"

    // Takes the project file (full name) and reads its desktop file.
    void Open(const std::string& fileName);
    void Close();

    // Unit 0 is the project file, then each unit of the uses clause of projectText: a file named
    // with "in" against the project folder, a bare unit name as that name with ".pas" beside the
    // project file.
    std::vector<std::string> UnitFiles(std::string_view projectText) const;

    // The uses clause of a program or library text; comments and directives are passed over.
    static std::vector<TUsesEntry> ParseUses(std::string_view text);

    // Code editor and Object Inspector, as the desktop file gives them.
    TWindowPlace EditWindow;
    TWindowPlace PropertyInspector;
    void ReadDesktop();
    // Writes the two places into the desktop file, keeping everything else in it.
    bool WriteDesktop() const;

    static constexpr TWindowPlace DefaultEditWindow{210, 119, 430, 300};
    static constexpr TWindowPlace DefaultPropertyInspector{1, 99, 197, 380};

private:
    std::string FFileName;
};

} // namespace ide
