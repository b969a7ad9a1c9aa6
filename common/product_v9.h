// What the uninstaller, edition 9.0, looks for and removes: its product
// key and its AutoCAD profile.  (It removes what its record names, which
// an installation of 8.5 writes; these two belong to edition 9.0.)
// Platform-free.
#pragma once

#include <string>

namespace v9 {

inline constexpr char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V9";
inline constexpr char kProfileName[] = "<<Quilm V9>>";

// HKEY_CURRENT_USER key of the package profile of one AutoCAD release:
// "SOFTWARE\Autodesk\AutoCAD\R17.0\ACAD-5001:804\Profiles\<<Quilm V9>>".
std::string HostProfileKey(const std::string& releaseKey, const std::string& productKey);

}  // namespace v9
