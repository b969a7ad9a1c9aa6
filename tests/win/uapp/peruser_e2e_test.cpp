// The per-user part of an unattended installation, played through as
// Windows plays it for a second user: Setup.exe /VERYSILENT registers the
// Active Setup component; the test removes the user's profiles and stamp
// and starts the registered command as the logon would (read back,
// expanded, CreateProcess); the uninstaller turns the component into the
// removal, whose command runs after the install folder is gone; a new
// installation registers the making command again, with a higher version.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/MediumBuilder.h"
#include "support/Process.h"
#include "support/ProductNames.h"
#include "support/Wizard.h"

using namespace quilmtest;

namespace {

// Six installed releases; {D} is the install folder, {A} the release's.
// A row without base profile gets the release's own folders as base list
// from the per-user program, and an empty one from the wizard.
struct AcadRow {
    const char* release;
    const char* productKey;
    bool machineCurVer;        // "CurVer" under HKLM (R15.0 has no default)
    const char* locationName;  // "AcadLocation", or "Location" (R18.x)
    const char* folder;
    const char* baseProfile;  // nullptr: the user has none
    const char* baseList;
    const char* acad;        // the per-user program's search list
    const char* wizardAcad;  // the wizard's, where it differs
    const char* menuFile;    // nullptr: none
};

const AcadRow kRows[] = {
    {"R15.0", "ACAD-1:804", true, "AcadLocation", "C:\\AutoCAD 2002", nullptr, nullptr,
     "{D}Support\\2000-02\\arx;{D}Support\\2000-02\\Menu;{D}填充图案;"
     "{A}support;{A}fonts;{A}help;{A}express;",
     nullptr, nullptr},
    {"R16.0", "ACAD-201:804", false, "AcadLocation", "C:\\A2004", "<<Unnamed Profile>>",
     "C:\\A2004\\support;C:\\A2004\\fonts",
     "{D}Support\\2004-06\\arx;{D}Support\\2004-06\\Menu;{D}填充图案;"
     "C:\\A2004\\support;C:\\A2004\\fonts;",
     nullptr, nullptr},
    {"R16.2", "ACAD-4001:409", false, "AcadLocation", "C:\\A2006", nullptr, nullptr,
     "{D}Support\\2004-06\\arx;{D}Support\\2004-06\\Menu;{D}填充图案;"
     "{A}support;{A}fonts;{A}help;{A}express;",
     "{D}Support\\2004-06\\arx;{D}Support\\2004-06\\Menu;{D}填充图案;;", nullptr},
    {"R17.0", "ACAD-5001:804", false, "AcadLocation", "D:\\CAD 2007", "<<未命名配置>>",
     "D:\\CAD 2007\\support",
     "{D}Support\\2007-09\\arx;{D}Support\\2007-09\\Menu;{D}填充图案;D:\\CAD 2007\\support;",
     nullptr, "{D}Support\\2007-09\\Menu\\Quilm"},
    {"R17.2", "ACAD-7001:804", false, "AcadLocation", "D:\\CAD 2009", nullptr, nullptr,
     "{D}Support\\2007-09\\arx;{D}Support\\2007-09\\Menu;{D}填充图案;"
     "{A}support;{A}fonts;{A}help;{A}express;",
     "{D}Support\\2007-09\\arx;{D}Support\\2007-09\\Menu;{D}填充图案;;",
     "{D}Support\\2007-09\\Menu\\Quilm"},
    {"R18.1", "ACAD-9001:804", false, "Location", "E:\\A11", "初始设置配置",
     "E:\\A11\\support;E:\\A11\\fonts",
     "{D}Support\\2010-12\\32\\arx;{D}Support\\2010-12\\Menu;E:\\A11\\support;E:\\A11\\fonts;",
     nullptr, "{D}Support\\2010-12\\Menu\\Quilm"},
};

std::string Fill(std::string text, const std::string& dest, const std::string& acad) {
    for (size_t at; (at = text.find("{D}")) != std::string::npos;) text.replace(at, 3, dest);
    for (size_t at; (at = text.find("{A}")) != std::string::npos;) text.replace(at, 3, acad);
    return text;
}

std::string V8Profile(const AcadRow& row) {
    return ProfileKey(row.release, row.productKey, kProfileName);
}

// "2026,1208,3" as numbers, for comparing versions the way Active Setup
// does: part by part.
std::vector<long> Parts(const std::string& version) {
    std::vector<long> parts;
    std::stringstream in(version);
    for (std::string part; std::getline(in, part, ',');) parts.push_back(std::atol(part.c_str()));
    return parts;
}

// The tree below HKCU "Software\Autodesk" without the keys of one profile
// name (and everything below them).
std::map<std::string, std::string> Without(std::map<std::string, std::string> tree,
                                           const std::string& profile) {
    for (auto it = tree.begin(); it != tree.end();)
        it = it->first.find(profile) != std::string::npos ? tree.erase(it) : std::next(it);
    return tree;
}

class PerUserTest : public UninstallTest {
protected:
    void SetUp() override {
        UninstallTest::SetUp();
        m_guards->Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
        m_medium = m_dir + "medium\\";
        m_dest = m_dir + "Program Files\\安装 目录\\Quilm\\";
        BuildMedium(m_medium, MediumOptions{true, "", 0, false});
        MediumBuilder medium(m_medium);
        ASSERT_TRUE(medium.Copy("Uninstall.exe", QUILM_UNINSTALL_EXE));
        ASSERT_TRUE(medium.Copy(kUserProgram, QUILM_USER_EXE));
        RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Autodesk");
        RemoveKeyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    }
    void TearDown() override {
        RemoveInstallation(m_dest);
        UninstallTest::TearDown();
    }

    void InstallAutoCad() {
        for (const AcadRow& row : kRows) {
            if (row.machineCurVer) SetCurVer(HKEY_LOCAL_MACHINE, row.release, row.productKey);
            SetAcadValue(row.release, row.productKey, row.locationName, row.folder);
        }
    }
    // What a user who never installed the package has: their own base
    // profiles, nothing else of AutoCAD's.
    void BecomeSecondUser() {
        RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Autodesk");
        RemoveKeyTree(HKEY_CURRENT_USER, kActiveSetupStamp);
        for (const AcadRow& row : kRows)
            if (row.baseProfile)
                SetBaseProfile(row.release, row.productKey, row.baseProfile, row.baseList);
    }
    void RunSetup() {
        ASSERT_EQ(
            RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"" + m_dest + "\"", kJobWait),
            0u);
    }
    // The registered command, read back and started as the logon starts
    // it; its exit code once it ended without showing a window.
    DWORD RunRegistered(bool expectUnseen = true) {
        std::string command;
        DWORD type = 0;
        EXPECT_TRUE(GetValue64(kActiveSetupKey, "StubPath", command, type));
        if (type == REG_EXPAND_SZ) {
            char expanded[32768];
            DWORD n = ::ExpandEnvironmentStringsA(command.c_str(), expanded, sizeof(expanded));
            EXPECT_TRUE(n > 0 && n <= sizeof(expanded));
            command = expanded;
        }
        ChildProcess child;
        EXPECT_TRUE(child.StartCommand(command)) << command << ": " << ::GetLastError();
        std::string seen;
        if (expectUnseen) {
            EXPECT_TRUE(WaitUnseen(child, kWait, seen)) << seen;
        }
        return child.ExitCode(kWait);
    }
    std::string Version() { return GetValue64(kActiveSetupKey, "Version"); }
    std::map<std::string, std::string> UserAutoCad() {
        return RegistryTree(HKEY_CURRENT_USER, "Software\\Autodesk");
    }

    std::string m_medium, m_dest;
};

}  // namespace

TEST_F(PerUserTest, EveryUserGetsTheProfilesAndLosesThemAfterRemoval) {
    InstallAutoCad();
    BecomeSecondUser();  // the installing user's own base profiles
    ASSERT_NO_FATAL_FAILURE(RunSetup());

    // The component, and the installing user stamped with its version.
    EXPECT_EQ(GetValue64(kActiveSetupKey, nullptr), kDisplayName);
    EXPECT_EQ(GetValue64(kActiveSetupKey, "ComponentID"), "Quilm V8");
    std::string installed;
    DWORD type = 0;
    ASSERT_TRUE(GetValue64(kActiveSetupKey, "IsInstalled", installed, type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(installed, "\x01");
    const std::string first = Version();
    EXPECT_EQ(Parts(first).size(), 3u) << first;
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kActiveSetupStamp, "Version"), first);
    EXPECT_EQ(GetValue64(kActiveSetupKey, "StubPath"), "\"" + m_dest + "QuilmUser.exe\"");
    EXPECT_NE(ReadBytes(m_dest + "Uninstall.log").find("File Copy: " + m_dest + "QuilmUser.exe"),
              std::string::npos);

    // The wizard's profiles for its own user, as before.
    std::map<std::string, std::map<std::string, std::string>> wizard;
    for (const AcadRow& row : kRows) {
        const std::string acad = Fill(row.wizardAcad ? row.wizardAcad : row.acad, m_dest,
                                      std::string(row.folder) + "\\");
        EXPECT_EQ(GetValue(HKEY_CURRENT_USER, V8Profile(row) + "\\General", "ACAD"), acad)
            << row.release;
        wizard[row.release] = RegistryTree(HKEY_CURRENT_USER, V8Profile(row));
    }

    // A second user logs on.
    BecomeSecondUser();
    const auto before = UserAutoCad();
    EXPECT_EQ(RunRegistered(), 0u);
    const auto made = UserAutoCad();
    for (const AcadRow& row : kRows) {
        const std::string key = V8Profile(row);
        EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key + "\\General", "ACAD"),
                  Fill(row.acad, m_dest, std::string(row.folder) + "\\"))
            << row.release;
        EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key + "\\General Configuration", "MenuFile"),
                  row.menuFile ? Fill(row.menuFile, m_dest, "") : kMissing)
            << row.release;
        EXPECT_EQ(GetValue(HKEY_CURRENT_USER, key, nullptr), kProfileName) << row.release;
        if (!row.wizardAcad) {
            EXPECT_EQ(RegistryTree(HKEY_CURRENT_USER, key), wizard[row.release]) << row.release;
        }
    }
    // Nothing else of AutoCAD's changed or appeared (no empty profiles of
    // AutoCAD's names either) but the profile's parents; a second run
    // changes nothing.
    auto expected = before;
    for (const AcadRow& row : kRows) {
        const std::string release = std::string("AutoCAD\\") + row.release;
        expected[release] = expected[release + "\\" + row.productKey] =
            expected[release + "\\" + row.productKey + "\\Profiles"] = "";
    }
    EXPECT_EQ(Without(made, kProfileName), expected);
    EXPECT_EQ(RunRegistered(), 0u);
    EXPECT_EQ(UserAutoCad(), made);

    // Unattended removal: the component now removes the profiles, and its
    // command needs nothing of the package.
    const std::string quiet = GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
    ChildProcess uninstall;
    ASSERT_TRUE(uninstall.StartCommand(quiet)) << quiet;
    EXPECT_EQ(uninstall.ExitCode(kJobWait), 0u);
    ASSERT_TRUE(WaitSelfDeleted(m_dest)) << "the install folder is still there";
    const std::string removal = Version();
    EXPECT_GT(Parts(removal), Parts(first)) << removal << " after " << first;
    const std::string command = GetValue64(kActiveSetupKey, "StubPath");
    EXPECT_NE(command.find("reg.exe\" delete \"HKCU\\"), std::string::npos) << command;
    EXPECT_EQ(command.find(m_dest), std::string::npos) << command;
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER,
                         ProfileKey("R17.0", "ACAD-5001:804", "<<Unnamed Profile>>") + "\\General",
                         "ACAD", "D:\\mine"));
    const auto withOwn = UserAutoCad();
    RunRegistered(false);  // the system's programs may show a console
    EXPECT_EQ(UserAutoCad(), Without(withOwn, kProfileName));
    for (const AcadRow& row : kRows) EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, V8Profile(row)));
    EXPECT_EQ(
        GetValue(HKEY_CURRENT_USER,
                 ProfileKey("R17.0", "ACAD-5001:804", "<<Unnamed Profile>>") + "\\General", "ACAD"),
        "D:\\mine");

    // Installing again makes the component the making command again.
    ASSERT_NO_FATAL_FAILURE(RunSetup());
    const std::string again = Version();
    EXPECT_GT(Parts(again), Parts(removal)) << again << " after " << removal;
    EXPECT_EQ(GetValue64(kActiveSetupKey, "StubPath"), "\"" + m_dest + "QuilmUser.exe\"");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kActiveSetupStamp, "Version"), again);
}

TEST_F(PerUserTest, WithoutAutoCadNothingIsWrittenAndTheProgramRunsAsInvoker) {
    ASSERT_NO_FATAL_FAILURE(RunSetup());
    RemoveKeyTree(HKEY_CURRENT_USER, "Software\\Autodesk");
    RemoveKeyTree(HKEY_CURRENT_USER, kActiveSetupStamp);
    const auto machine = RegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    EXPECT_EQ(RunRegistered(), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Autodesk"));
    EXPECT_EQ(RegistryTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk"), machine);

    // A release's keys damaged (its folder a number): still exit code 0.
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, "Software\\Autodesk\\AutoCAD\\R17.0", "CurVer", ""));
    HKEY key = NULL;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\", 0, NULL,
                                0, MAXIMUM_ALLOWED | KEY_WOW64_32KEY, NULL, &key, NULL),
              ERROR_SUCCESS);
    DWORD number = 7;
    ::RegSetValueExA(key, "AcadLocation", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number),
                     sizeof(number));
    ::RegCloseKey(key);
    EXPECT_EQ(RunRegistered(), 0u);

    // The manifest the program carries.
    HMODULE program = ::LoadLibraryExA((m_dest + kUserProgram).c_str(), NULL,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    HRSRC found = ::FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(program, found))),
                         ::SizeofResource(program, found));
    ::FreeLibrary(program);
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos)
        << manifest;
}
