#pragma once

#include <windows.h>
// shlobj.h needs windows.h first; it declares the folder ids.
#include <shlobj.h>

#include <filesystem>

namespace ornet5 {

// The path of a Windows known folder (FOLDERID_LocalAppData,
// FOLDERID_RoamingAppData, ...); empty when the shell cannot name it.
// Windows builds only.
std::filesystem::path KnownFolder(const KNOWNFOLDERID& folder);

}  // namespace ornet5
