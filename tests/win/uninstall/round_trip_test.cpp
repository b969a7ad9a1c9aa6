// Install a medium with the install engine, then uninstall it from the
// record the installer wrote: nothing recorded may remain, except folders
// that hold a file the user added.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <utility>

#include "common/install_log.h"
#include "uninstall/UninstallMessages.h"
#include "setup/SetupThread.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/MediumBuilder.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD\\";
const std::string kR17 = kAcad + "R17.0";
const std::string kProfiles = kR17 + "\\ACAD-5001:804\\Profiles\\";

std::string ControlSource() {
    return HostToWine(QUILM_TEST_CONTROL);
}

// A small medium: the nine package folders with nested and empty
// subfolders, Chinese names, two controls and the root files.
void MakeMedium(const std::string& root) {
    MediumBuilder medium(root);
    const char* files[] = {"Support\\2007-09\\Menu\\quilm.mnu",
                           "Support\\2000-02\\arx\\q.arx",
                           "Database\\Quilm.mdb",
                           "线型库\\土地.lin",
                           "填充图案\\田块.pat",
                           "图框\\图框A3.dwg",
                           "图例\\图例.dwg",
                           "图库\\道路\\桥涵\\涵洞.dwg",
                           "Temp\\t.tmp",
                           "Quilm.exe",
                           "QuilmV8.5.ico",
                           "readme.txt",
                           "Quilm.url",
                           "QuilmHelp.chm",
                           "Uninstall.exe",
                           "Setup.exe"};
    for (const char* f : files) ASSERT_TRUE(medium.File(f)) << f;
    ASSERT_TRUE(medium.Folder("Temp\\空文件夹"));
    ASSERT_TRUE(medium.Folder("Control"));
    for (const char* name : {"QuilmMap.ocx", "QuilmGrid.ocx"}) {
        std::string target = std::string("Control\\") + name;
        ASSERT_TRUE(medium.Copy(target, ControlSource()));
    }
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

class RoundTripTest : public UninstallTest {};

TEST_F(RoundTripTest, UninstallRemovesWhatTheInstallerRecorded) {
    const std::string uninstallKey = kUninstallKey;
    const std::string driverKey = "Software\\ODBC\\ODBCINST.INI\\Microsoft Access Driver (*.mdb)";
    m_guards->Guard(HKEY_LOCAL_MACHINE, uninstallKey);
    m_guards->Guard(kMachineOwnView, driverKey);
    std::string medium = m_dir + "medium\\";
    std::string dest = m_dir + "Program Files\\安装 目录\\Quilm\\";
    MakeMedium(medium);
    if (HasFatalFailure()) return;

    // AutoCAD R17.0 "installed", with a base profile to copy from.
    std::string acad = m_dir + "AutoCAD 2007\\";
    ASSERT_TRUE(MakeFolders(acad));
    ASSERT_TRUE(WriteBytes(acad + "acad.exe", "not really"));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, kR17, "CurVer", "ACAD-5001:804"));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kR17, "CurVer", "ACAD-5001:804"));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kR17 + "\\ACAD-5001:804", "AcadLocation", acad));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, kProfiles + "<<Unnamed Profile>>\\General", "ACAD",
                         acad + "support"));
    // The data source's driver.
    std::string driver = HostToWine(QUILM_ODBC_FIXTURE);
    ASSERT_TRUE(SetValue(kMachineOwnView, driverKey, "Driver", driver));
    ASSERT_TRUE(SetValue(kMachineOwnView, driverKey, "Setup", driver));

    // Install.
    {
        OwnerWindow owner;
        Install(medium, dest, owner);
    }
    std::string recordPath = dest + "Uninstall.log";
    ASSERT_TRUE(FileExists(recordPath));
    ASSERT_TRUE(FileExists(dest + "Control\\QuilmMap.ocx"));

    UninstallJob job;
    ASSERT_TRUE(job.LoadRecord(recordPath.c_str()));
    const std::vector<std::string> files = Entries(job, kFileCopy);
    const std::vector<std::string> dirs = Entries(job, kMadeDir);
    const std::vector<std::string> controls = Entries(job, kRegCtrl);
    const std::vector<std::string> keys = Entries(job, kRegDbKey);
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files.back(), recordPath);
    // The installer registered both controls and recorded them, and its
    // two keys.
    EXPECT_EQ(controls, (std::vector<std::string>{dest + "Control\\QuilmGrid.ocx",
                                                  dest + "Control\\QuilmMap.ocx"}));
    EXPECT_EQ(keys,
              (std::vector<std::string>{"2," + std::string(kProductKey), "2," + uninstallKey}));
    for (const char* name : {"QuilmMap.ocx", "QuilmGrid.ocx"})
        EXPECT_EQ(ControlNote(name), "registered") << name;
    ASSERT_EQ(controls.size(), 2u);
    ASSERT_EQ(keys.size(), 2u);
    for (const std::string& f : files)
        EXPECT_TRUE(::GetFileAttributesA(f.c_str()) != INVALID_FILE_ATTRIBUTES) << f;

    // What the user and AutoCAD added since.
    std::string userFile = dest + "图库\\道路\\我的图块.dwg";
    ASSERT_TRUE(WriteBytes(userFile, "mine"));
    const std::string v9 = kProfiles + kV9ProfileName, v8 = kProfiles + kProfileName;
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, v9, "", kV9ProfileName));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, v9 + "\\General", "ACAD", dest + "Support"));
    ASSERT_TRUE(
        SetValue(HKEY_CURRENT_USER, v9 + "\\General Configuration", "MenuFile", dest + "m"));
    if (!KeyExists(HKEY_CURRENT_USER, v8)) {
        ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, v8, "", kProfileName));
    }
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", dest));
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuilmTest\\Odbc");

    // Uninstall.
    OwnerWindow owner;
    std::vector<std::string> problems;
    owner.onMessage = [&](const JobMessage& m) {
        if (m.message != WM_UNINSTALL_PROGRESS) return;
        if (FileExists(m.path)) problems.push_back("reported before its delete: " + m.path);
        if (GetValue(HKEY_CURRENT_USER, "Software\\QuilmTest\\Odbc", "Calls") != "1")
            problems.push_back("files deleted before the data source was removed");
    };
    RunJob(job, owner);
    EXPECT_TRUE(problems.empty()) << problems.front();

    ASSERT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), static_cast<int>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(owner.log[i].path, files[i]);
    EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
    for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
    for (const std::string& d : dirs) {
        bool holdsUserFile = userFile.compare(0, d.size() + 1, d + "\\") == 0;
        EXPECT_EQ(FolderExists(d), holdsUserFile) << d;
    }
    EXPECT_TRUE(FileExists(userFile));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, v9));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, v8));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProfiles + "<<Unnamed Profile>>\\General"));

    // The data source went with the database path of the install folder.
    std::string expected = "DSN=Quilm";
    for (const std::string& pair :
         {std::string("Corvantix=土地整理Quilm"), "DBQ=" + dest + "Database\\Quilm.mdb",
          std::string("FIL=MS Access"), std::string("UID=Corvantix"),
          std::string("PWD=Wendabrix52081736409")}) {
        expected += '\0';
        expected += pair;
    }
    expected += std::string(2, '\0');
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, "Software\\QuilmTest\\Odbc", "Attributes"),
              Hex(expected));

    // Unregistered while the file still existed, and deleted afterwards.
    for (const std::string& c : controls) {
        std::string name = c.substr(c.rfind('\\') + 1);
        EXPECT_EQ(ControlNote(name), "unregistered") << c;
        EXPECT_FALSE(FileExists(c));
    }
    const std::string batchPath = BatchPathOf(UninstallJob::s_batchCommand);
    std::string batch = TakeBatch();
    EXPECT_TRUE(EndsWith(batch, "(del \"" + batchPath + "\") & rmdir \"" +
                                    batchPath.substr(0, batchPath.rfind('\\')) + "\"\r\n"))
        << batch;
    EXPECT_EQ(UninstallJob::s_batchStarts, 1);
}

// A record that someone extended by hand: what it names outside the
// installation stays, and every genuine entry is still acted on.
TEST_F(RoundTripTest, EntriesOutsideTheInstallationAreLeftAlone) {
    m_guards->Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
    m_guards->Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\QuilmTest");
    std::string medium = m_dir + "medium\\", dest = m_dir + "Quilm\\";
    MakeMedium(medium);
    if (HasFatalFailure()) return;
    {
        OwnerWindow owner;
        Install(medium, dest, owner);
    }
    const std::string recordPath = dest + "Uninstall.log";
    ASSERT_TRUE(FileExists(recordPath));
    UninstallJob genuine;
    ASSERT_TRUE(genuine.LoadRecord(recordPath.c_str()));
    const std::vector<std::string> files = Entries(genuine, kFileCopy);

    // What lies outside: a file at the drive root, a user's drawing, a
    // folder beside the install folder whose name starts like it, a path
    // through "..", a library whose unregistration leaves a mark, keys of
    // the machine and the user, a sibling of the product key, and a
    // folder reached through a link inside the install folder.
    const std::string rootFile =
        "C:\\quilm-scope-" + std::to_string(::GetCurrentProcessId()) + ".txt";
    ASSERT_FALSE(ShellFolder(CSIDL_COMMON_DOCUMENTS).empty());
    const std::string drawing = ShellFolder(CSIDL_COMMON_DOCUMENTS) + "quilm-scope.dwg";
    const std::string sibling = m_dir + "Quilm2", outside = m_dir + "outside\\";
    const std::string library = outside + "evil.ocx";
    ASSERT_TRUE(MakeFolders(sibling));
    ASSERT_TRUE(MakeFolders(outside));
    for (const std::string& f : {rootFile, drawing, sibling + "\\x.txt", outside + "kept.txt"})
        ASSERT_TRUE(WriteBytes(f, "not the installer's")) << f;
    ASSERT_TRUE(::CopyFileA(ControlSource().c_str(), library.c_str(), FALSE));
    const std::vector<std::pair<HKEY, std::string>> keys = {
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\QuilmTest\\Victim"},
        {HKEY_CURRENT_USER, "Software\\QuilmTest\\Victim"},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix\\Quilm\\Other"}};
    for (const auto& key : keys) ASSERT_TRUE(SetValue(key.first, key.second, "v", "x"));
    ASSERT_TRUE(MakeHostLink(dest + "link", outside));

    std::string extra =
        "File Copy: " + rootFile + "\r\nFile Copy: " + drawing + "\r\nFile Copy: " + sibling +
        "\\x.txt\r\nFile Copy: " + dest + "..\\outside\\kept.txt\r\nFile Copy: " + dest +
        "link\\kept.txt\r\nMade Dir: " + sibling + "\r\nMade Dir: " + dest +
        "link\r\nReg Ctrl: " + library + "\r\nRegDB Key: 2," + keys[0].second +
        "\r\nRegDB Key: 1," + keys[1].second + "\r\nRegDB Key: 2," + keys[2].second + "\r\n";
    ::SetFileAttributesA(recordPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteBytes(recordPath, ReadBytes(recordPath) + extra));

    OwnerWindow owner;
    UninstallJob job;
    ASSERT_TRUE(job.LoadRecord(recordPath.c_str()));
    RunJob(job, owner);
    EXPECT_TRUE(RemoveHostLink(dest + "link"));

    for (const std::string& f : {rootFile, drawing, sibling + "\\x.txt", outside + "kept.txt"})
        EXPECT_TRUE(FileExists(f)) << f;
    EXPECT_TRUE(FolderExists(sibling));
    EXPECT_TRUE(FileExists(library));
    EXPECT_EQ(ControlNote("evil.ocx"), kMissing)
        << "a library outside the install folder was loaded";
    for (const auto& key : keys) EXPECT_TRUE(KeyExists(key.first, key.second)) << key.second;
    EXPECT_EQ(job.m_skipped.size(), 11u);
    // Every genuine file went, and every entry moved the bar.
    for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f;
    EXPECT_EQ(owner.Count(WM_UNINSTALL_PROGRESS), static_cast<int>(files.size()) + 5);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
    ::DeleteFileA(rootFile.c_str());
    ::DeleteFileA(drawing.c_str());
    TakeBatch();
}

// Install folders whose names are hard to compare, and one that is a
// drive root: the files inside the first are removed, none at the root.
TEST_F(RoundTripTest, InstallFoldersEndingInATrailByteOrAtADriveRoot) {
    const std::string cheng = m_dir + "\xD5\x5C\\", lookalike = m_dir +
                                                                "\xD5\x5C"
                                                                "a\\";
    ASSERT_TRUE(MakeFolders(cheng + "sub"));
    ASSERT_TRUE(MakeFolders(lookalike));
    for (const std::string& f : {cheng + "sub\\a.txt", lookalike + "b.txt"})
        ASSERT_TRUE(WriteBytes(f, "x"));
    ASSERT_TRUE(WriteBytes(cheng + "Uninstall.log", "File Copy: " + cheng +
                                                        "sub\\a.txt\r\nFile Copy: " + lookalike +
                                                        "b.txt\r\nMade Dir: " + cheng +
                                                        "sub\r\nMade Dir: " + lookalike + "\r\n"));
    {
        OwnerWindow owner;
        UninstallJob job;
        ASSERT_TRUE(job.LoadRecord((cheng + "Uninstall.log").c_str()));
        RunJob(job, owner);
        EXPECT_EQ(job.m_skipped.size(), 2u);
    }
    EXPECT_FALSE(FileExists(cheng + "sub\\a.txt"));
    EXPECT_FALSE(FolderExists(cheng + "sub"));
    EXPECT_TRUE(FileExists(lookalike + "b.txt"));
    TakeBatch();

    // A record at the root of drive C: names a file there, a shortcut on
    // the desktop and the product key.
    const std::string desktop = GetValue(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Desktop");
    ASSERT_NE(desktop, kMissing);
    const std::string rootFile =
        "C:\\quilm-root-" + std::to_string(::GetCurrentProcessId()) + ".txt";
    const std::string link = desktop + "\\quilm-scope-test.lnk";
    const std::string key = std::string(kProductKey) + "\\Root";
    ASSERT_TRUE(WriteBytes(rootFile, "x"));
    ASSERT_TRUE(WriteBytes(link, "x"));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, key, "v", "x"));
    const std::string record = "C:\\Uninstall.log";
    ASSERT_FALSE(FileExists(record)) << "a record at the root of C: is in the way";
    ASSERT_TRUE(WriteBytes(record, "File Copy: " + rootFile + "\r\nFile Copy: " + link +
                                       "\r\nRegDB Key: 2," + key + "\r\n"));
    {
        OwnerWindow owner;
        UninstallJob job;
        ASSERT_TRUE(job.LoadRecord(record.c_str()));
        RunJob(job, owner);
    }
    ::DeleteFileA(record.c_str());
    EXPECT_TRUE(FileExists(rootFile));
    EXPECT_FALSE(FileExists(link));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    ::DeleteFileA(rootFile.c_str());
    TakeBatch();
}
