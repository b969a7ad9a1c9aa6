// A complete installation by the install job on its own thread: the copy,
// the root files, the controls, the keys and profiles, the shortcuts and
// the record, checked line by line in the order of the work.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include <shlobj.h>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const char kFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kMenuName[] = "土地整理规划设计软件 Quilm V8.5";

class FullRun : public ::testing::Test {
protected:
    void SetUp() override {
        GuardAutoCadKeys(m_keys);
        m_keys.Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
        m_keys.Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
        m_keys.Guard(HKEY_CURRENT_USER, "Software\\QuilmTest");
        m_desktopGuard.reset(new ValueGuard(HKEY_CURRENT_USER, kFolders, "Desktop"));
        m_programsGuard.reset(new ValueGuard(HKEY_CURRENT_USER, kFolders, "Programs"));

        m_src = m_root.path() + "Medium\\";
        m_dest = m_root.path() + "Quilm Dest\\";
        // The prefix's own desktop and Start menu: Wine's shell may write
        // these very values into "Shell Folders" at any time.
        m_desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
        m_programs = ShellFolder(CSIDL_PROGRAMS);
        ASSERT_FALSE(m_desktop.empty());
        ASSERT_FALSE(m_programs.empty());
        m_menu = m_programs + kMenuName;
        m_desktopLink = m_desktop + "土地整理规划设计.LNK";
        m_hadDesktopLink = FileExists(m_desktopLink);
        if (m_hadDesktopLink) m_oldDesktopLink = ReadBytes(m_desktopLink);
        m_hadMenu = FolderExists(m_menu);
        ASSERT_TRUE(CreateDirectoryA(m_src.c_str(), NULL));
        SetValue(HKEY_CURRENT_USER, kFolders, "Desktop", m_desktop);
        SetValue(HKEY_CURRENT_USER, kFolders, "Programs", m_programs);
        SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", "D:\\AutoCAD 2007");

        // The medium: every package folder, a nested one, an empty one,
        // two controls and the root files.
        for (const char* name : kPackageFolders)
            ASSERT_TRUE(CreateDirectoryA((m_src + name).c_str(), NULL));
        ASSERT_TRUE(CreateDirectoryA((m_src + "Support\\2010-12").c_str(), NULL));
        WriteBytes(m_src + "Support\\2010-12\\quilm.arx", "arx");
        ASSERT_TRUE(CopyTestControl(m_src + "Control\\QuilmMap.ocx"));
        ASSERT_TRUE(CopyTestControl(m_src + "Control\\QuilmGrid.ocx"));
        WriteBytes(m_src + "Database\\quilm.mdb", "db");
        WriteBytes(m_src + "线型库\\quilm.lin", "lin");
        WriteBytes(m_src + "填充图案\\quilm.pat", "pat");
        WriteBytes(m_src + "图框\\图框1.dwg", "dwg");
        WriteBytes(m_src + "图例\\图例1.dwg", "dwg");
        WriteBytes(m_src + "图库\\图库1.dwg", "dwg");
        WriteBytes(m_src + "Quilm.exe", "exe");
        WriteBytes(m_src + "readme.txt", "readme");
        WriteBytes(m_src + "Setup.exe", "setup");
    }

    void TearDown() override {
        if (!m_hadMenu) RemoveTree(m_menu);
        DeleteFileA(m_desktopLink.c_str());
        if (m_hadDesktopLink) WriteBytes(m_desktopLink, m_oldDesktopLink);
    }

    // The record must consist of these groups in this order; the lines
    // within one group (files of one folder) may come in any order.
    void ExpectGroups(const std::vector<std::string>& lines,
                      const std::vector<std::vector<std::string>>& groups) {
        size_t at = 0;
        for (const auto& group : groups) {
            ASSERT_LE(at + group.size(), lines.size()) << "record too short at " << group[0];
            std::vector<std::string> got(lines.begin() + at, lines.begin() + at + group.size());
            std::vector<std::string> want = group;
            std::sort(got.begin(), got.end());
            std::sort(want.begin(), want.end());
            EXPECT_EQ(want, got) << "at line " << at + 1;
            at += group.size();
        }
        EXPECT_EQ(at, lines.size()) << "extra lines after the last expected one";
    }

    std::vector<std::vector<std::string>> ExpectedRecord() {
        const std::string d = m_dest;
        auto copy = [](const std::string& p) { return "File Copy: " + p; };
        auto made = [](const std::string& p) { return "Made Dir: " + p; };
        return {
            {made(d + "Support")},
            {made(d + "Support\\2010-12")},
            {copy(d + "Support\\2010-12\\quilm.arx")},
            {made(d + "Control")},
            {copy(d + "Control\\QuilmMap.ocx"), copy(d + "Control\\QuilmGrid.ocx")},
            {made(d + "Database")},
            {copy(d + "Database\\quilm.mdb")},
            {made(d + "线型库")},
            {copy(d + "线型库\\quilm.lin")},
            {made(d + "填充图案")},
            {copy(d + "填充图案\\quilm.pat")},
            {made(d + "图框")},
            {copy(d + "图框\\图框1.dwg")},
            {made(d + "图例")},
            {copy(d + "图例\\图例1.dwg")},
            {made(d + "图库")},
            {copy(d + "图库\\图库1.dwg")},
            {made(d + "Temp")},
            {copy(d + "Quilm.exe"), copy(d + "readme.txt")},
            {"Reg Ctrl: " + d + "Control\\QuilmMap.ocx",
             "Reg Ctrl: " + d + "Control\\QuilmGrid.ocx"},
            {std::string("RegDB Key: 2,") + kProductKey},
            {std::string("RegDB Key: 2,") + kUninstallKey},
            {made(m_menu)},
            {copy(m_desktop + "土地整理规划设计.LNK")},
            {copy(m_menu + "\\土地整理规划设计.LNK")},
            {copy(d + "Quilmfor2007.LNK")},
            {copy(m_menu + "\\Corvantix网站.LNK")},
            {copy(m_menu + "\\Quilm V8.5 在线帮助.LNK")},
            {copy(m_menu + "\\Quilm V8.5 卸载程序.LNK")},
            {copy(m_menu)},
            {copy(d + "Uninstall.log")},
        };
    }

    KeyGuard m_keys;
    std::unique_ptr<ValueGuard> m_desktopGuard, m_programsGuard;
    TempDir m_root;
    std::string m_src, m_dest, m_desktop, m_programs, m_menu;
    std::string m_desktopLink, m_oldDesktopLink;
    bool m_hadDesktopLink = false, m_hadMenu = false;
};

}  // namespace

TEST_F(FullRun, RecordFollowsTheOrderOfTheWork) {
    OwnerWindow owner;
    Install(m_src, m_dest, owner);
    EXPECT_EQ(1, owner.Count(WM_SETUP_DONE));
    EXPECT_EQ(0, owner.Count(WM_SETUP_FAILED));
    EXPECT_EQ(10, owner.Count(WM_SETUP_PROGRESS));  // 9 files and 1 subfolder

    std::string log = m_dest + "Uninstall.log";
    // Hidden, and nothing else that we set (Wine adds the archive bit).
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN),
              GetFileAttributesA(log.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    ExpectWellFormedRecord(m_dest);
    std::vector<std::string> lines = RecordFileLines(log);
    ExpectGroups(lines, ExpectedRecord());
    // The controls are registered in the order they are recorded.
    std::string notes;
    EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, kControlNotes, "QuilmMap.ocx", notes));
    EXPECT_EQ("registered", notes);
    EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, kControlNotes, "QuilmGrid.ocx", notes));
    EXPECT_EQ("registered", notes);
    // The profile of the release found, and its shortcut.
    std::string profile;
    EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, ProfileKey("R17.0", "ACAD-5001:804", kProfileName), "",
                         profile));
    EXPECT_EQ(kProfileName, profile);
    LinkInfo link;
    ASSERT_TRUE(ReadLink(m_dest + "Quilmfor2007.LNK", link));
    EXPECT_EQ("D:\\AutoCAD 2007\\acad.exe", link.target);
    std::string uninstall;
    EXPECT_TRUE(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", uninstall));
    EXPECT_EQ("\"" + m_dest + "Uninstall.exe\"", uninstall);
    EXPECT_FALSE(FileExists(m_dest + "Setup.exe"));
}

TEST_F(FullRun, InstallingTwiceReplacesTheRecord) {
    OwnerWindow first, second;
    Install(m_src, m_dest, first);
    std::vector<std::string> before = RecordFileLines(m_dest + "Uninstall.log");
    Install(m_src, m_dest, second);
    EXPECT_EQ(1, second.Count(WM_SETUP_DONE));
    std::vector<std::string> after = RecordFileLines(m_dest + "Uninstall.log");
    ExpectGroups(after, ExpectedRecord());
    EXPECT_EQ(before.size(), after.size());
    EXPECT_EQ(1, std::count(after.begin(), after.end(), "File Copy: " + m_dest + "Uninstall.log"));
}
