// Shortcut files made through the shell's link object and read back.
#include <gtest/gtest.h>

#include <memory>

#include "support/Host.h"
#include "support/Jobs.h"
#include "setup/InstallSteps.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const char kFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kFoldersNT[] =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Explorer\\Shell Folders";
const char kMenuName[] = "土地整理规划设计软件 Quilm V8.5";
const std::string kArguments = std::string("/p \"") + kProfileName + "\" /t acad.dwt";

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        GuardAutoCadKeys(m_keys);
        m_keys.Guard(HKEY_CURRENT_USER,
                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Explorer");
        m_keys.Guard(HKEY_CURRENT_USER, kFoldersNT);
        m_keys.Guard(HKEY_LOCAL_MACHINE,
                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Explorer");
        m_keys.Guard(HKEY_LOCAL_MACHINE, kFoldersNT);
        for (const char* key : {kFolders, kFoldersNT}) {
            for (const char* v : {"Desktop", "Programs"})
                m_values.emplace_back(new ValueGuard(HKEY_CURRENT_USER, key, v));
            for (HKEY machine : {HKEY_LOCAL_MACHINE, kMachine64})
                for (const char* v : {"Common Desktop", "Common Programs"})
                    m_values.emplace_back(new ValueGuard(machine, key, v));
        }
        // Start from a machine with no shell folders at all, in either view.
        for (const char* key : {kFolders, kFoldersNT}) {
            DeleteValue(HKEY_CURRENT_USER, key, "Desktop");
            DeleteValue(HKEY_CURRENT_USER, key, "Programs");
            for (HKEY machine : {HKEY_LOCAL_MACHINE, kMachine64}) {
                DeleteValue(machine, key, "Common Desktop");
                DeleteValue(machine, key, "Common Programs");
            }
        }
        m_desktop = m_root.path() + "桌面\\";
        m_programs = m_root.path() + "Programs\\";
        m_menu = m_programs + kMenuName;
        m_dest = m_root.path() + "Quilm Dest\\";
        CreateDirectoryA(m_desktop.c_str(), NULL);
        CreateDirectoryA(m_programs.c_str(), NULL);
        CreateDirectoryA(m_dest.c_str(), NULL);
        m_job.m_strDestDir = m_dest.c_str();
    }
    void UseFolders(HKEY root, const char* key, const std::string& desktop,
                    const std::string& programs) {
        bool user = root == HKEY_CURRENT_USER;
        SetValue(root, key, user ? "Desktop" : "Common Desktop", desktop);
        SetValue(root, key, user ? "Programs" : "Common Programs", programs);
    }
    std::vector<std::string> Lines() { return CrLfLines(m_job.m_strRecord.str()); }
    // Record of a run with no release found, for the given folders.
    std::vector<std::string> PlainRecord(const std::string& desktop, const std::string& menu) {
        return {"Made Dir: " + menu,
                "File Copy: " + desktop + "土地整理规划设计.LNK",
                "File Copy: " + menu + "\\土地整理规划设计.LNK",
                "File Copy: " + menu + "\\Corvantix网站.LNK",
                "File Copy: " + menu + "\\Quilm V8.5 在线帮助.LNK",
                "File Copy: " + menu + "\\Quilm V8.5 卸载程序.LNK",
                "File Copy: " + menu};
    }
    void ExpectLink(const std::string& path, const std::string& target,
                    const std::string& arguments, const std::string& icon) {
        LinkInfo info;
        ASSERT_TRUE(ReadLink(path, info)) << path;
        EXPECT_EQ(target, info.target) << path;
        EXPECT_EQ(arguments, info.arguments) << path;
        EXPECT_EQ(icon, info.icon) << path;
        EXPECT_EQ(0, info.iconIndex) << path;
        EXPECT_EQ(m_dest, info.workDir) << path;
    }

    KeyGuard m_keys;
    std::vector<std::unique_ptr<ValueGuard>> m_values;
    TempDir m_root;
    std::string m_desktop, m_programs, m_menu, m_dest;
    SetupJob m_job;
};

}  // namespace

TEST_F(Shortcuts, TheWholeTableWithTwoReleases) {
    UseFolders(HKEY_CURRENT_USER, kFolders, m_desktop, m_programs);
    SetAcadValue("R16.0", "ACAD-201:804", "AcadLocation", "D:\\AutoCAD 2004");
    SetAcadValue("R18.0", "ACAD-8001:804", "AcadLocation", "D:\\AutoCAD 2010\\");
    ASSERT_TRUE(m_job.CreateShortcuts());

    const std::string desk1 = m_desktop + "土地整理规划设计.LNK";
    const std::string menu2 = m_menu + "\\土地整理规划设计.LNK";
    const std::string r2004 = m_dest + "Quilmfor2004.LNK";
    const std::string r2010 = m_dest + "Quilmfor2010.LNK";
    const std::string web = m_menu + "\\Corvantix网站.LNK";
    const std::string help = m_menu + "\\Quilm V8.5 在线帮助.LNK";
    const std::string uninstall = m_menu + "\\Quilm V8.5 卸载程序.LNK";
    EXPECT_EQ((std::vector<std::string>{
                  "Made Dir: " + m_menu, "File Copy: " + desk1, "File Copy: " + menu2,
                  "File Copy: " + r2004, "File Copy: " + r2010, "File Copy: " + web,
                  "File Copy: " + help, "File Copy: " + uninstall, "File Copy: " + m_menu}),
              Lines());

    ExpectLink(desk1, m_dest + "Quilm.exe", "", "");
    ExpectLink(menu2, m_dest + "Quilm.exe", "", "");
    ExpectLink(r2004, "D:\\AutoCAD 2004\\acad.exe", kArguments, m_dest + "QuilmV8.5.ICO");
    ExpectLink(r2010, "D:\\AutoCAD 2010\\acad.exe", kArguments, m_dest + "QuilmV8.5.ICO");
    ExpectLink(web, m_dest + "Quilm.url", "", "");
    ExpectLink(help, m_dest + "QuilmHelp.chm", "", "");
    ExpectLink(uninstall, m_dest + "Uninstall.exe", "", "");
    // No other release shortcut was made.
    EXPECT_EQ(2u, FilesIn(m_dest).size());
    EXPECT_EQ(1u, FilesIn(m_desktop).size());
    EXPECT_EQ(4u, FilesIn(m_menu).size());
}

TEST_F(Shortcuts, EveryReleaseInTableOrder) {
    UseFolders(HKEY_CURRENT_USER, kFolders, m_desktop, m_programs);
    std::vector<std::string> expected = {"Made Dir: " + m_menu,
                                         "File Copy: " + m_desktop + "土地整理规划设计.LNK",
                                         "File Copy: " + m_menu + "\\土地整理规划设计.LNK"};
    for (const HostRelease& r : kHostReleases) {
        std::string product = r.defaultProductKey ? r.defaultProductKey : "ACAD-1:804";
        if (!r.defaultProductKey) SetCurVer(HKEY_LOCAL_MACHINE, r.releaseKey, product);
        SetAcadValue(r.releaseKey, product, "AcadLocation", std::string("E:\\CAD ") + r.releaseKey);
        expected.push_back("File Copy: " + m_dest + "Quilmfor" + std::to_string(r.shortcutYear) +
                           ".LNK");
    }
    for (const char* name :
         {"Corvantix网站.LNK", "Quilm V8.5 在线帮助.LNK", "Quilm V8.5 卸载程序.LNK"})
        expected.push_back("File Copy: " + m_menu + "\\" + name);
    expected.push_back("File Copy: " + m_menu);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(expected, Lines());
    EXPECT_EQ("File Copy: " + m_dest + "Quilmfor2002.LNK", expected[3]);  // R15.0: 2002
    ExpectLink(m_dest + "Quilmfor2002.LNK", "E:\\CAD R15.0\\acad.exe", kArguments,
               m_dest + "QuilmV8.5.ICO");
    ExpectLink(m_dest + "Quilmfor2012.LNK", "E:\\CAD R18.2\\acad.exe", kArguments,
               m_dest + "QuilmV8.5.ICO");
}

TEST_F(Shortcuts, DesktopWithTrailingBlankAndNoBackslash) {
    std::string desktop = m_desktop.substr(0, m_desktop.size() - 1) + " ";
    std::string programs = " " + m_programs.substr(0, m_programs.size() - 1) + "\t";
    UseFolders(HKEY_CURRENT_USER, kFolders, desktop, programs);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), Lines());
    EXPECT_TRUE(FileExists(m_desktop + "土地整理规划设计.LNK"));
}

TEST_F(Shortcuts, FoldersAreTakenAsAPairFromOneKey) {
    TempDir other;
    std::string otherDesktop = other.path() + "Desk\\";
    std::string otherPrograms = other.path() + "Progs\\";
    CreateDirectoryA(otherDesktop.c_str(), NULL);
    CreateDirectoryA(otherPrograms.c_str(), NULL);
    // The first key has the desktop only; the second has both.
    SetValue(HKEY_CURRENT_USER, kFolders, "Desktop", m_desktop);
    UseFolders(HKEY_CURRENT_USER, kFoldersNT, otherDesktop, otherPrograms);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(PlainRecord(otherDesktop, otherPrograms + kMenuName), Lines());
    EXPECT_TRUE(FilesIn(m_desktop).empty());
    EXPECT_TRUE(FileExists(otherDesktop + "土地整理规划设计.LNK"));
}

TEST_F(Shortcuts, OnlyAllUsersFolders) {
    UseFolders(HKEY_LOCAL_MACHINE, kFolders, m_desktop, m_programs);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), Lines());
}

// The native shell of a 64-bit Windows keeps them in the 64-bit view.
TEST_F(Shortcuts, OnlyAllUsersFoldersOfTheSixtyFourBitView) {
    UseFolders(kMachine64, kFolders, m_desktop, m_programs);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), Lines());
}

TEST_F(Shortcuts, AllUsersFoldersFromTheSecondKey) {
    SetValue(HKEY_LOCAL_MACHINE, kFolders, "Common Desktop", "C:\\nowhere");
    UseFolders(HKEY_LOCAL_MACHINE, kFoldersNT, m_desktop, m_programs);
    ASSERT_TRUE(m_job.CreateShortcuts());
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), Lines());
}

TEST_F(Shortcuts, NoFoldersNoShortcuts) {
    SetValue(HKEY_CURRENT_USER, kFolders, "Desktop", m_desktop);
    SetValue(HKEY_LOCAL_MACHINE, kFoldersNT, "Common Programs", m_programs);
    EXPECT_FALSE(m_job.CreateShortcuts());
    EXPECT_TRUE(m_job.m_strRecord.IsEmpty());
    EXPECT_FALSE(FolderExists(m_menu));
    EXPECT_TRUE(FilesIn(m_desktop).empty());
}

TEST_F(Shortcuts, OldDesktopShortcutIsReplaced) {
    UseFolders(HKEY_CURRENT_USER, kFolders, m_desktop, m_programs);
    ASSERT_TRUE(WriteBytes(m_desktop + "土地整理规划设计.LNK", "old junk"));
    ASSERT_TRUE(m_job.CreateShortcuts());
    ExpectLink(m_desktop + "土地整理规划设计.LNK", m_dest + "Quilm.exe", "", "");
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), Lines());
    // And once more: the same record, the same files.
    SetupJob again;
    again.m_strDestDir = m_dest.c_str();
    ASSERT_TRUE(again.CreateShortcuts());
    EXPECT_EQ(PlainRecord(m_desktop, m_menu), CrLfLines(again.m_strRecord.str()));
    EXPECT_EQ(4u, FilesIn(m_menu).size());
}

TEST_F(Shortcuts, OverlongShortcutPathIsSkippedAndNotRecorded) {
    std::string longDesktop = m_root.path() + std::string(280, 'd') + "\\";
    UseFolders(HKEY_CURRENT_USER, kFolders, longDesktop, m_programs);
    ASSERT_TRUE(m_job.CreateShortcuts());
    std::vector<std::string> expected = PlainRecord(longDesktop, m_menu);
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(expected, Lines());
}

TEST_F(Shortcuts, CreateShellLinkRefusesPathsBeyondTheBuffer) {
    // 260 wide characters with the terminator fit; 261 do not.  The name
    // is counted in characters, not bytes: each Chinese one is one.
    std::string folder = m_root.path() + "long\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    int room = 259 - static_cast<int>(folder.size()) - 4;  // ".LNK"
    ASSERT_GT(room, 20);
    std::string fits =
        folder + std::string(static_cast<size_t>(room - 10), 'a') + "土地整理规划设计软件" + ".LNK";
    std::string over =
        folder + std::string(static_cast<size_t>(room - 9), 'b') + "土地整理规划设计软件" + ".LNK";
    ASSERT_EQ(259, MultiByteToWideChar(CP_ACP, 0, fits.c_str(), -1, NULL, 0) - 1);
    EXPECT_FALSE(CreateShellLink(m_dest.c_str(), over.c_str(), "C:\\x.exe", NULL, NULL));
    EXPECT_TRUE(FilesIn(folder).empty()) << "nothing made, not even under a shortened name";
    EXPECT_TRUE(CreateShellLink(m_dest.c_str(), fits.c_str(), "C:\\x.exe", "-a", "C:\\x.ico"));
    ExpectLink(fits, "C:\\x.exe", "-a", "C:\\x.ico");
}

TEST_F(Shortcuts, CreateShellLinkIntoMissingFolderFails) {
    EXPECT_FALSE(CreateShellLink(m_dest.c_str(), (m_root.path() + "no\\x.LNK").c_str(), "C:\\x.exe",
                                 NULL, NULL));
}

// A 64-bit AutoCAD gets its shortcut only from an installation that has
// its release's "64" ARX folder.
TEST_F(Shortcuts, SixtyFourBitAutoCadOnlyWithSixtyFourBitModules) {
    UseFolders(HKEY_CURRENT_USER, kFolders, m_desktop, m_programs);
    SetAcadValue("R18.1", "ACAD-9001:804", "AcadLocation", "C:\\AutoCAD 2011", kMachine64);
    SetAcadValue("R17.2", "ACAD-7001:804", "AcadLocation", "C:\\AutoCAD 2009", kMachine64);
    ASSERT_TRUE(MakeFolders(m_dest + "Support\\2010-12\\64\\arx"));
    ASSERT_TRUE(MakeFolders(m_dest + "Support\\2007-09\\arx"));
    ASSERT_TRUE(m_job.CreateShortcuts());
    ExpectLink(m_dest + "Quilmfor2011.LNK", "C:\\AutoCAD 2011\\acad.exe", kArguments,
               m_dest + "QuilmV8.5.ICO");
    EXPECT_FALSE(FileExists(m_dest + "Quilmfor2009.LNK"));
}
