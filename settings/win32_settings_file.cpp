#include <windows.h>

#include <string>

#include "common/win32_handle.h"
#include "common/win32_known_folder.h"
#include "common/win32_utf8.h"
#include "settings/atomic_file.h"
#include "settings/atomic_file_steps.h"
#include "settings/settings_file.h"

namespace ornet5 {

namespace fs = std::filesystem;

namespace {

fs::path RunningExecutable() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return L"ORNET5";
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

fs::path WindowsDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    UINT length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = ::GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

bool FileExists(const fs::path& file) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A save replaces the file through a temporary file beside it, so the save
// must be allowed to replace it, and both the file and its folder must take
// writes. The probe file goes when its handle closes.
bool SaveCanReplace(const fs::path& file) {
    if (!MayReplace(file)) {
        return false;
    }
    const TWin32Handle opened(::CreateFileW(
        file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.IsValid()) {
        return false;
    }
    const fs::path probe = file.parent_path() / (TemporaryFilePrefix(file) + "probe-" +
                                                 std::to_string(::GetCurrentProcessId()));
    const TWin32Handle created(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                             nullptr));
    return created.IsValid();
}

// The copy is a save like any other, so it is atomic too; false when it
// could not be made.
bool CopyToUserFile(const fs::path& from, const fs::path& to) {
    const TFileBytes content = ReadFileBytes(from);
    return content.status == TFileReadStatus::Read && ReplaceFileBytes(to, content.bytes);
}

}  // namespace

// Which file is read and which written is ChooseWindowsSettingsFile's rule:
// - ORNET5.INI in the Windows directory exists and may be replaced: that
//   file is read and written.
// - Else ORNET5.INI exists in %APPDATA%: that file is read and written.
// - Else ORNET5.INI exists in the Windows directory only: it is copied to
//   %APPDATA% at start, and the copy is read and written; should the copy
//   fail, the Windows directory's file is read and saves report that they
//   cannot write it.
// - Else %APPDATA%\ORNET5.INI is read (a missing file gives the defaults)
//   and created by the first save.
// Without an application-data folder the Windows directory's file is read
// and written. Messages name the file "ORNET5.INI" in every case.
TSettingsFileLocation ProgramSettingsFile() {
    const std::string name =
        IniFileNameForExecutable(Utf8(RunningExecutable().filename().native()));
    const fs::path fileName(Wide(name));
    const fs::path windowsFile = WindowsDirectory() / fileName;
    const fs::path userFolder = KnownFolder(FOLDERID_RoamingAppData);
    const fs::path userFile = userFolder / fileName;

    TWindowsSettingsPlaces places;
    places.windowsFileExists = FileExists(windowsFile);
    places.windowsFileWritable = places.windowsFileExists && SaveCanReplace(windowsFile);
    places.userFolderKnown = !userFolder.empty();
    places.userFileExists = places.userFolderKnown && FileExists(userFile);

    switch (ChooseWindowsSettingsFile(places)) {
        case TWindowsSettingsChoice::WindowsFile:
            return {windowsFile, name};
        case TWindowsSettingsChoice::UserFile:
            return {userFile, name};
        case TWindowsSettingsChoice::UserFileCopiedFromWindowsFile:
            return {CopyToUserFile(windowsFile, userFile) ? userFile : windowsFile, name};
    }
    return {windowsFile, name};
}

}  // namespace ornet5
