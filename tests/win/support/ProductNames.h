// The product's registry keys and names as the outside world sees them,
// spelled here once for every test.  They are the tests' own: a product
// constant that changes by mistake makes the tests fail, and one test
// (host/ProductKeysTest) checks the product's facts against these.
#pragma once

namespace quilmtest {

// Setup.exe (version 8): HKLM keys, the Add/Remove Programs name (also the
// Start-menu group) and the AutoCAD profile it makes.
inline const char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V8";
inline const char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";
inline const char kDisplayName[] = "土地整理规划设计软件 Quilm V8.5";
inline const char kProfileName[] = "<<Quilm V8>>";
inline const char* const kStartMenuGroup = kDisplayName;

// The Active Setup component (HKLM in the 64-bit view), a user's stamp,
// and the per-user program it starts.
inline const char kActiveSetupKey[] =
    "SOFTWARE\\Microsoft\\Active Setup\\Installed "
    "Components\\{6E39D321-ED1D-4D66-ADDC-4B86FBB2B34E}";
inline const char kActiveSetupStamp[] =
    "Software\\Microsoft\\Active Setup\\Installed "
    "Components\\{6E39D321-ED1D-4D66-ADDC-4B86FBB2B34E}";
inline const char kUserProgram[] = "QuilmUser.exe";

// Uninstall.exe (version 9): the product key it reads and the profile it
// removes.
inline const char kV9Key[] = "SOFTWARE\\Corvantix\\Quilm\\V9";
inline const char kV9ProfileName[] = "<<Quilm V9>>";

// The package's folders on the medium and below the install folder, in
// the order the installer copies them.
inline const char* const kPackageFolders[9] = {
    "Support", "Control", "Database", "线型库", "填充图案", "图框", "图例", "图库", "Temp"};

// The prefixes of the record "Uninstall.log", in the order of the kinds.
inline const char* const kRecordLinePrefixes[4] = {"File Copy: ", "Made Dir: ", "Reg Ctrl: ",
                                                   "RegDB Key: "};

// Titles of the two programs' windows.
inline const char kWizardTitle[] = "Quilm V8.5 安装向导";
inline const char kUninstallTitle[] = "Quilm V9.0 卸载";

}  // namespace quilmtest
