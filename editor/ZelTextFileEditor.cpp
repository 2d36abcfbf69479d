// The text-file editor: loading, saving with a backup copy, the file name and the open state.
#include "editor/ZelTextFileEditor.h"

#include "editor/StoredEditor.h"
#include "vcl/Forms.h"

#include "rtl/Files.h"
#include "rtl/LineSplitter.h"
#include "rtl/Parallel.h"
#include "rtl/Paths.h"
#include "rtl/ScopeGuards.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace editor {

namespace {

const bool TextFileEditorRegistered = [] {
    using namespace vcl;
    using T = TZelTextFileEditor;
    RegisterClass<T>("TZelTextFileEditor", "", With<T>(EditorProperties<T>(), {
        StringProperty<T>("BackupExt", &T::BackupExt, &T::SetBackupExt),
        StringProperty<T>("FileName", &T::FileName, &T::SetFileName),
        BooleanProperty<T>("MakeBackup", &T::MakeBackup, &T::SetMakeBackup).WithDefault(0),
        BooleanProperty<T>("IsOpen", &T::IsOpen, &T::SetIsOpen).WithDefault(0),
    }));
    return true;
}();

// The hourglass for the length of a load or save.
class THourGlass {
public:
    THourGlass() {
        if (vcl::Screen) vcl::Screen->SetCursor(vcl::crHourGlass);
    }
    ~THourGlass() {
        if (vcl::Screen) vcl::Screen->SetCursor(vcl::crDefault);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

[[noreturn]] void RaiseFileError(const char* action, const std::string& name, int code) {
    throw rtl::EInOutError("I/O error " + std::to_string(code) + " " + action + " " + name + ": " +
                               std::strerror(code),
                           code);
}

struct TFileData {
    TLoadBlock Data;
    std::size_t Size = 0;
    std::size_t Lines = 0; // the line feeds of a file read in parts, for the paragraphs' memory
};

// A large file is read in parts side by side, so that the fresh pages of its block come from
// several threads at once. Each part counts its line feeds while they are in the cache. Gives
// the bytes read from the start on without a gap: less than Size where the file was cut short
// meanwhile.
std::size_t ReadInParts(int fd, const std::string& name, char* block, std::size_t size,
                        std::size_t& lineFeeds) {
    constexpr std::size_t Grain = std::size_t{2} << 20;
    const int parts = rtl::PartsFor(size, Grain);
    struct TPart {
        std::size_t Got = 0, Wanted = 0, LineFeeds = 0;
        int Error = 0;
    };
    std::vector<TPart> result(static_cast<std::size_t>(parts));
    rtl::RunParts(parts, [&](int p) {
        std::size_t lo, hi;
        rtl::PartRange(size, parts, p, Grain, lo, hi);
        TPart& part = result[static_cast<std::size_t>(p)];
        part.Wanted = hi - lo;
        while (part.Got < part.Wanted) {
            const ssize_t got = ::pread(fd, block + lo + part.Got, part.Wanted - part.Got,
                                        static_cast<off_t>(lo + part.Got));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) part.Error = errno;
            if (got <= 0) break;
            const char* at = block + lo + part.Got;
            part.LineFeeds += static_cast<std::size_t>(std::count(at, at + got, '\n'));
            part.Got += static_cast<std::size_t>(got);
        }
    });
    std::size_t read = 0;
    lineFeeds = 0;
    for (const TPart& part : result) {
        if (part.Error != 0) RaiseFileError("reading", name, part.Error);
        read += part.Got;
        lineFeeds += part.LineFeeds;
        if (part.Got < part.Wanted) break;
    }
    return read;
}

// Read straight into a block of the file's size, not cleared first; a file that grows
// meanwhile reads on.
TFileData ReadWholeFile(const std::string& name) {
    const std::string host = rtl::HostPath(name);
    const int fd = host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) RaiseFileError("opening", name, host.empty() ? ENOENT : errno);
    rtl::TScopeExit closer([fd] { ::close(fd); });
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    std::size_t capacity = known ? static_cast<std::size_t>(st.st_size) + 1 : 1;
    TFileData file{NewLoadBlock(capacity), 0};
    std::size_t lineFeeds = 0;
    if (known && capacity > (std::size_t{4} << 20)) {
        file.Size = ReadInParts(fd, name, file.Data.get(), capacity - 1, lineFeeds);
        if (::lseek(fd, static_cast<off_t>(file.Size), SEEK_SET) < 0) RaiseFileError("reading", name, errno);
    }
    for (;;) {
        if (file.Size == capacity) {
            TLoadBlock grown = NewLoadBlock(2 * capacity);
            std::memcpy(grown.get(), file.Data.get(), file.Size);
            file.Data = std::move(grown);
            capacity *= 2;
        }
        const ssize_t got = ::read(fd, file.Data.get() + file.Size, capacity - file.Size);
        if (got < 0) {
            if (errno == EINTR) continue;
            RaiseFileError("reading", name, errno);
        }
        if (got == 0) break;
        file.Size += static_cast<std::size_t>(got);
    }
    file.Lines = lineFeeds;
    return file;
}

} // namespace

std::string NormaliseFileName(std::string_view Name) {
    if (Name.size() >= 2 && Name.back() == '.') Name.remove_suffix(1);
    return std::string(Name);
}

TZelCustomTextFileEditor::TZelCustomTextFileEditor(vcl::TComponent* AOwner) : TZelCustomEditor(AOwner) {}

void TZelCustomTextFileEditor::SetFileName(const std::string& Value) {
    if (rtl::SameText(Value, FFileName)) return;
    const bool wasOpen = FIsOpen;
    FIsOpen = false;
    FFileName = NormaliseFileName(Value);
    if (IsDesigning()) SetIsOpen(wasOpen);
}

void TZelCustomTextFileEditor::SetIsOpen(bool Value) {
    if (Value == FIsOpen || FFileName.empty()) return;
    FIsOpen = Value;
    if (IsLoading()) return;
    if (Value) {
        LoadFromFile(FFileName);
    } else {
        ClearText(true);
        RefreshView(true);
        ShowSampleText();
    }
}

void TZelCustomTextFileEditor::AttachTo(TZelCustomEditor* Editor) {
    if (!Editor || !HandleAllocated()) return;
    TZelCustomEditor::AttachTo(Editor);
    if (auto* other = dynamic_cast<TZelCustomTextFileEditor*>(Editor)) SetFileName(other->FileName());
}

void TZelCustomTextFileEditor::Loaded() {
    TZelCustomEditor::Loaded();
    if (!FIsOpen) return;
    try {
        LoadFromFile(FFileName);
    } catch (const rtl::Exception&) {
        // A form whose file has gone still loads; the editor stays closed.
    }
}

void TZelCustomTextFileEditor::LoadFromFile(const std::string& Name) {
    if (Name.empty()) return;
    FFileName = NormaliseFileName(Name);
    THourGlass hourGlass;
    std::int32_t splitLine = 0, refusedLine = 0;
    std::uint16_t refusedCode = 0;
    try {
        TFileData file = ReadWholeFile(FFileName);
        // A load always starts from an empty text. The window is painted once, when its
        // messages next run, however long the file.
        TDeferPaint defer(*this);
        ClearText(true);
        // Open only after a complete load: an earlier load's state no longer holds.
        FIsOpen = false;
        // The lines stay in the file's buffer, which the text keeps.
        ParaList().ReserveLoadedNodes(file.Lines + 1);
        const std::string_view text = ParaList().KeepText(std::move(file.Data), file.Size);
        const std::int32_t limit = ParaLengthLimit();
        rtl::TLineSplitter lines(text);
        std::string_view line;
        std::int32_t lineNo = 0;
        while (lines.Next(line)) {
            ++lineNo;
            if (static_cast<std::int32_t>(line.size()) > limit && splitLine == 0) splitLine = lineNo;
            const std::uint16_t code = AppendPara(line);
            if (code != 0) {
                refusedLine = lineNo;
                refusedCode = code;
                break;
            }
        }
        RefreshView(true);
    } catch (const rtl::Exception&) {
        FIsOpen = true; // so that the writer below clears the editor
        SetIsOpen(false);
        FIsOpen = false;
        if (IsLoading()) return;
        throw;
    }
    if (refusedLine != 0) {
        throw ETextFileLoadError(FFileName + ": line " + std::to_string(refusedLine) +
                                     " and the lines after it were not loaded: " +
                                     EditorErrorText(refusedCode),
                                 FFileName, refusedLine, refusedCode);
    }
    if (splitLine != 0) {
        throw ETextFileLoadError(FFileName + ": line " + std::to_string(splitLine) + " is longer than " +
                                     std::to_string(ParaLengthLimit()) +
                                     " characters and was split into several lines",
                                 FFileName, splitLine, 0);
    }
    FIsOpen = true;
}

void TZelCustomTextFileEditor::MakeBackupCopy(const std::string& Name) {
    if (!rtl::FileExists(Name)) return;
    const std::string backup = rtl::ChangeFileExt(Name, "." + FBackupExt);
    // Names resolve without regard to case: a backup name that is the file itself gets no copy.
    if (rtl::AnsiSameText(backup, Name) || rtl::HostPath(backup) == rtl::HostPath(Name)) return;
    rtl::CopyFile(Name, backup, false);
}

void TZelCustomTextFileEditor::SaveToFile(const std::string& Name) {
    if (IsDesigning() || Name.empty()) return;
    THourGlass hourGlass;
    // Refused before the backup, so that a file that stays as it was gets no new copy either.
    rtl::CheckFileWritable(Name);
    if (FMakeBackup) MakeBackupCopy(Name);
    const std::int32_t count = ParaCount();
    rtl::WriteFileAtomic(Name, [&](rtl::TAtomicFile& file) {
        std::string buffer;
        buffer.reserve(1 << 17);
        for (std::int32_t p = 1; p <= count; ++p) {
            const std::string_view text = ParaList().ParaText(p);
            if (p == count && text.empty()) break;
            buffer += text;
            buffer += "\r\n";
            if (buffer.size() >= (1 << 16)) {
                file.Write(buffer);
                buffer.clear();
            }
        }
        file.Write(buffer);
    });
    SetModified(false);
}

} // namespace editor
