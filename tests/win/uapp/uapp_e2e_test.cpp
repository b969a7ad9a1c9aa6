// Drives the real Uninstall.exe the way a person would.  Each test installs
// a small medium with the install engine (Uninstall.exe among its root
// files), starts the installed Uninstall.exe from its Add/Remove Programs
// command line, answers its question and follows its dialog; then checks
// the file system and the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "common/install_log.h"
#include "resources/uninstall/resource.h"
#include "support/Boxes.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/MediumBuilder.h"
#include "support/Process.h"
#include "support/ProductNames.h"

using namespace quilmtest;

using namespace uidriver;

namespace {

const char kQuestion[] = "真要卸载 Quilm V9.0 吗?";
const char kFailedText[] = "Quilm V9.0 卸载未能完成!";
const char kDoneText[] = "卸载完成!";

void Shot(HWND window, const char* name) {
    EXPECT_TRUE(SaveShot(window, QUILM_SHOT_DIR, name)) << name;
}

// A snapshot of what the installation recorded.
struct Installed {
    std::string dest;  // ends with "\"
    std::vector<std::string> files, dirs, keys;
};

bool KeyExistsAt(const std::string& entry) {
    // "<root code>,<key path>"
    size_t comma = entry.find(',');
    if (comma == std::string::npos) return false;
    int code = std::atoi(entry.substr(0, comma).c_str());
    HKEY hive = code == kRootCurrentUser    ? HKEY_CURRENT_USER
                : code == kRootLocalMachine ? HKEY_LOCAL_MACHINE
                : code == kRootClassesRoot  ? HKEY_CLASSES_ROOT
                : code == kRootUsers        ? HKEY_USERS
                                            : HKEY_CURRENT_CONFIG;
    return KeyExists(hive, entry.substr(comma + 1));
}

}  // namespace

class UninstallAppTest : public UninstallTest {
protected:
    void SetUp() override {
        UninstallTest::SetUp();
        if (HasFatalFailure()) return;
        m_guards->Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
    }

    void TearDown() override {
        m_uninstall.Kill();  // only when a test failed half-way
        RemoveLeftovers();
        UninstallTest::TearDown();
    }

    // What an installation that was not uninstalled left outside the test
    // folder (the shortcuts and their Start-menu folder): removed, so the
    // prefix stays as it was.
    void RemoveLeftovers() {
        auto outside = [&](const std::string& path) {
            return path.compare(0, m_dir.size(), m_dir) != 0;
        };
        for (auto it = m_inst.files.rbegin(); it != m_inst.files.rend(); ++it) {
            if (!outside(*it)) continue;
            DWORD attributes = ::GetFileAttributesA(it->c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            ::SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(it->c_str());
        }
        for (auto it = m_inst.files.rbegin(); it != m_inst.files.rend(); ++it)
            if (outside(*it)) ::RemoveDirectoryA(it->c_str());
        for (auto it = m_inst.dirs.rbegin(); it != m_inst.dirs.rend(); ++it)
            if (outside(*it)) ::RemoveDirectoryA(it->c_str());
    }

    // Builds a medium with bulk extra files in "Temp\bulk" (and, when
    // control is given, the test control under that name in "Control")
    // and installs it into a folder below the test folder.
    void Install(int bulkFiles, const char* control = nullptr) {
        MediumBuilder medium(m_dir + "medium\\");
        m_inst.dest = m_dir + "Program Files\\安装 目录\\Quilm\\";
        const char* files[] = {"Support\\2007-09\\Menu\\quilm.mnu",
                               "Database\\Quilm.mdb",
                               "线型库\\土地.lin",
                               "填充图案\\田块.pat",
                               "图框\\图框A3.dwg",
                               "图例\\图例.dwg",
                               "图库\\道路\\桥涵\\涵洞.dwg",
                               "Temp\\t.tmp",
                               "Quilm.exe",
                               "readme.txt",
                               "QuilmHelp.chm",
                               "Setup.exe"};
        for (const char* f : files) ASSERT_TRUE(medium.File(f)) << f;
        ASSERT_TRUE(medium.Folder("Control"));
        if (control) {
            ASSERT_TRUE(medium.Copy(std::string("Control\\") + control, QUILM_TEST_CONTROL));
        }
        ASSERT_TRUE(medium.Folder("Temp\\bulk"));
        ASSERT_TRUE(medium.Bulk("Temp\\bulk", bulkFiles, "bulk"));
        ASSERT_TRUE(medium.Copy("Uninstall.exe", QUILM_UNINSTALL_EXE));
        {
            OwnerWindow owner;
            quilmtest::Install(medium.root(), m_inst.dest, owner);
        }
        RemoveTree(medium.root());
        ASSERT_TRUE(FileExists(RecordPath()));
        ASSERT_TRUE(FileExists(m_inst.dest + "Uninstall.exe"));
        CUninstallThread record;
        ASSERT_TRUE(record.LoadRecord(RecordPath().c_str()));
        m_inst.files = Entries(record, kFileCopy);
        m_inst.dirs = Entries(record, kMadeDir);
        m_inst.keys = Entries(record, kRegDbKey);
        ASSERT_GE(m_inst.files.size(), static_cast<size_t>(bulkFiles + 10));
        ASSERT_FALSE(m_inst.dirs.empty());
    }

    std::string RecordPath() const { return m_inst.dest + "Uninstall.log"; }

    // Starts the installed uninstaller as Add/Remove Programs would: with
    // its "UninstallString" command line, from the system folder.
    void Start() {
        std::string commandLine = GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
        if (commandLine == "<missing>") commandLine = "\"" + m_inst.dest + "Uninstall.exe\"";
        ASSERT_NE(commandLine.find(m_inst.dest + "Uninstall.exe"), std::string::npos)
            << commandLine;
        ASSERT_TRUE(m_uninstall.StartCommand(commandLine)) << ::GetLastError();
    }

    // Starts the uninstaller and gives answer to its question.
    void StartAndAnswer(int answer) {
        Start();
        HWND box = WaitMessageBox(m_uninstall.id(), kWait);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), kQuestion);
        EXPECT_EQ(GetText(box), "卸载软件");
        ASSERT_TRUE(AnswerMessageBox(box, answer));
    }

    HWND Dialog() {
        return WaitTopWindow(kUninstallTitle, "#32770", m_uninstall.id(), IDC_PROGRESS, kWait);
    }

    DWORD ExitCode() {
        EXPECT_TRUE(m_uninstall.Wait(kWait));
        return m_uninstall.ExitCode();
    }

    // Everything the installation recorded is still there.
    void ExpectUntouched() {
        for (const std::string& f : m_inst.files) EXPECT_TRUE(Exists(f)) << f;
        for (const std::string& d : m_inst.dirs) EXPECT_TRUE(FolderExists(d)) << d;
        for (const std::string& k : m_inst.keys) EXPECT_TRUE(KeyExistsAt(k)) << k;
        EXPECT_TRUE(FileExists(m_inst.dest + "Uninstall.exe"));
        EXPECT_FALSE(AnyBatchLeft());
    }

    Installed m_inst;
    ChildProcess m_uninstall;
};

TEST_F(UninstallAppTest, NoAtTheQuestionChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install(5));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDNO));
    EXPECT_EQ(ExitCode(), 2u);  // cancelled
    EXPECT_EQ(FindTopWindow(kUninstallTitle, "#32770", m_uninstall.id(), 0), nullptr);
    ExpectUntouched();
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath"), m_inst.dest);
}

TEST_F(UninstallAppTest, YesRemovesTheInstallationAndTheUninstallerItself) {
    ASSERT_NO_FATAL_FAILURE(Install(40));
    // The record is found through the product key of the uninstaller's edition.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    // The user's own file keeps its folder.
    std::string userFile = m_inst.dest + "图库\\道路\\我的图块.dwg";
    ASSERT_TRUE(WriteBytes(userFile, "mine"));

    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetItemText(dialog, IDC_TITLE), "谢谢使用 Quilm V9.0 土地整理规划设计软件");
    EXPECT_EQ(GetItemText(dialog, IDC_FRAME), "删除文件");
    EXPECT_EQ(GetItemText(dialog, IDCANCEL), "取消");
    EXPECT_EQ(GetItemText(dialog, IDOK), "完成");
    Shot(dialog, "uninstall_running");

    ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, kJobWait));
    EXPECT_TRUE(IsItemVisible(dialog, IDC_DONE_TEXT));
    EXPECT_EQ(GetItemText(dialog, IDC_DONE_TEXT), kDoneText);
    EXPECT_FALSE(IsItemVisible(dialog, IDC_PROGRESS));
    EXPECT_FALSE(IsItemVisible(dialog, IDC_FRAME));
    EXPECT_EQ(GetItemText(dialog, IDC_CURRENT), "");
    EXPECT_TRUE(IsItemEnabled(dialog, IDCANCEL));
    Shot(dialog, "uninstall_done");

    // The job is over: the files, folders and keys are gone already.
    for (const std::string& f : m_inst.files) {
        if (f == m_inst.dest + "Uninstall.exe") continue;  // the running program
        EXPECT_FALSE(Exists(f)) << f;
    }
    for (const std::string& k : m_inst.keys) EXPECT_FALSE(KeyExistsAt(k)) << k;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
    EXPECT_TRUE(FileExists(userFile));

    ASSERT_TRUE(Click(dialog, IDOK));
    EXPECT_EQ(ExitCode(), 0u);

    // Every recorded folder is gone, except those that hold the user's
    // file and the install folder, which holds the program until the
    // hidden batch removes it after the program has ended.
    for (const std::string& d : m_inst.dirs) {
        bool holdsUserFile = userFile.compare(0, d.size() + 1, d + "\\") == 0;
        EXPECT_EQ(FolderExists(d),
                  holdsUserFile || m_inst.dest.compare(0, d.size() + 1, d + "\\") == 0)
            << d;
    }
    EXPECT_TRUE(WaitSelfDeleted(m_inst.dest + "Uninstall.exe"))
        << "Uninstall.exe or its batch still there";
    EXPECT_TRUE(FileExists(userFile));
}

TEST_F(UninstallAppTest, WithoutProductKeyTheRecordIsFoundBesideTheProgram) {
    ASSERT_NO_FATAL_FAILURE(Install(3));
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kV9Key, KEY_WOW64_32KEY, 0);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, kJobWait));
    EXPECT_EQ(GetItemText(dialog, IDC_DONE_TEXT), kDoneText);
    ASSERT_TRUE(Click(dialog, IDOK));
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_TRUE(WaitSelfDeleted(m_inst.dest)) << "the install folder or its batch still there";
    for (const std::string& f : m_inst.files) EXPECT_FALSE(Exists(f)) << f;
    for (const std::string& k : m_inst.keys) EXPECT_FALSE(KeyExistsAt(k)) << k;
}

TEST_F(UninstallAppTest, RecordDeletedByHandClosesSilently) {
    ASSERT_NO_FATAL_FAILURE(Install(3));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    ::SetFileAttributesA(RecordPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileA(RecordPath().c_str()));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    // No message at all on the way out: a box would hold the program until
    // answered, so it would be seen before the end.
    bool boxShown = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            boxShown |= WaitMessageBox(m_uninstall.id(), 0) != nullptr;
            return boxShown || m_uninstall.Wait(0);
        },
        kWait));
    EXPECT_FALSE(boxShown);
    EXPECT_EQ(ExitCode(), 4u);  // no readable record
    m_inst.files.erase(std::remove(m_inst.files.begin(), m_inst.files.end(), RecordPath()),
                       m_inst.files.end());
    ExpectUntouched();
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath"), m_inst.dest);
}

TEST_F(UninstallAppTest, UnreadableRecordReportsAndChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Install(3));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    // Another process holds the record without sharing it.
    HANDLE lock =
        ::CreateFileA(RecordPath().c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));

    HWND fileError = WaitMessageBox(m_uninstall.id(), kWait);
    ASSERT_NE(fileError, nullptr);
    std::string errorText = MessageBoxText(fileError);
    EXPECT_NE(errorText, kFailedText);
    EXPECT_NE(errorText.find("Uninstall.log"), std::string::npos) << errorText;
    ASSERT_TRUE(AnswerMessageBox(fileError, IDOK));

    HWND failed = WaitMessageBox(m_uninstall.id(), kWait);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(MessageBoxText(failed), kFailedText);
    EXPECT_EQ(GetText(failed), "Uninstall");
    ASSERT_TRUE(AnswerMessageBox(failed, IDOK));
    EXPECT_EQ(ExitCode(), 4u);
    ::CloseHandle(lock);
    ExpectUntouched();
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath"), m_inst.dest);
}

// A cancel while the job is held in a control's unregistration: the job
// stops before it deletes anything, and the run ends cancelled.
TEST_F(UninstallAppTest, CancelWhileRunningEndsTheProgramCleanly) {
    ASSERT_NO_FATAL_FAILURE(Install(3, "hold.ocx"));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    // The control waits in its unregistration until this is set; set at
    // the end in any case, so that a failure leaves no program waiting.
    std::unique_ptr<void, void (*)(HANDLE)> release(
        ::CreateEventA(NULL, TRUE, FALSE, "QuilmTestControlRelease"), [](HANDLE event) {
            ::SetEvent(event);
            ::CloseHandle(event);
        });
    ASSERT_NE(release.get(), nullptr);
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ControlNote("hold.ocx") == "holding"; }, kWait))
        << "the job never reached the control";
    Shot(dialog, "uninstall_cancelled_mid_run");
    ASSERT_TRUE(Click(dialog, IDCANCEL));
    ASSERT_TRUE(WaitGone(dialog, kWait));
    release.reset();
    EXPECT_EQ(ExitCode(), 2u);
    // The entry in hand is finished: the control unregistered and deleted.
    const std::string control = m_inst.dest + "Control\\hold.ocx";
    EXPECT_EQ(ControlNote("hold.ocx"), "unregistered");
    EXPECT_FALSE(Exists(control));
    m_inst.files.erase(std::remove(m_inst.files.begin(), m_inst.files.end(), control),
                       m_inst.files.end());
    ExpectUntouched();
}

// A cancel once the job has done all its work cancels nothing: the run
// ends as done, and what the user added keeps its folder.
TEST_F(UninstallAppTest, CancelAfterTheJobEndedReportsTheFinishedRun) {
    ASSERT_NO_FATAL_FAILURE(Install(30));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    std::string userFile = m_inst.dest + "Temp\\bulk\\mine.txt";
    ASSERT_TRUE(WriteBytes(userFile, "mine"));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, kJobWait));
    ASSERT_TRUE(Click(dialog, IDCANCEL));
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_TRUE(FolderExists(m_inst.dest + "Temp\\bulk"));
    EXPECT_EQ(ReadBytes(userFile), "mine");
    EXPECT_TRUE(WaitSelfDeleted(m_inst.dest + "Uninstall.exe"))
        << "Uninstall.exe or its batch still there";
}

// Entries of the record outside the installation are passed over and
// left; the notice names them with the reason, and the exit code says that
// not everything is gone.
TEST_F(UninstallAppTest, PassedOverEntriesAreNamedInTheNoticeAndTheExitCode) {
    ASSERT_NO_FATAL_FAILURE(Install(3));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    const std::string planted = m_dir + "别人的 文件.txt";
    ASSERT_TRUE(WriteBytes(planted, "not ours"));
    ::SetFileAttributesA(RecordPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(
        WriteBytes(RecordPath(), ReadBytes(RecordPath()) + "File Copy: " + planted + "\r\n"));
    ASSERT_NO_FATAL_FAILURE(StartAndAnswer(IDYES));
    HWND notice = WaitMessageBox(m_uninstall.id(), kJobWait);
    ASSERT_NE(notice, nullptr);
    const std::string text = MessageBoxText(notice);
    EXPECT_NE(text.find("有 1 个项目未能删除"), std::string::npos) << text;
    EXPECT_NE(text.find("已跳过 (不在安装文件夹内, 未删除): File Copy: " + planted),
              std::string::npos)
        << text;
    ASSERT_TRUE(AnswerMessageBox(notice, IDOK));
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, kWait));
    ASSERT_TRUE(Click(dialog, IDOK));
    EXPECT_EQ(ExitCode(), 3u);
    EXPECT_EQ(ReadBytes(planted), "not ours");
    for (const std::string& f : m_inst.files) {
        if (f == m_inst.dest + "Uninstall.exe") continue;  // the batch removes it
        EXPECT_FALSE(Exists(f)) << f;
    }
}

// How deployment tools remove the package: the quiet command line the
// installer registered, no window, the outcome in the exit code and the log.
TEST_F(UninstallAppTest, QuietUninstallStringLeavesAFileHeldOpenForTheRestartAndSaysSo) {
    ASSERT_NO_FATAL_FAILURE(Install(5));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", m_inst.dest));
    const std::string uninstaller = m_inst.dest + "Uninstall.exe";
    const std::string quiet = GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
    ASSERT_EQ(quiet, "\"" + uninstaller + "\" /VERYSILENT");
    const std::string held = m_inst.dest + "Database\\Quilm.mdb";
    HANDLE file = OpenWithoutSharing(held);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string log = m_dir + "卸载 日志.log";
    ASSERT_TRUE(m_uninstall.StartCommand(quiet + " /LOG=\"" + log + "\""));
    std::string seen;
    EXPECT_TRUE(WaitUnseen(m_uninstall, kJobWait, seen)) << seen;
    EXPECT_EQ(m_uninstall.ExitCode(), 3010u);
    ::CloseHandle(file);

    const std::string text = ReadLog(log);
    EXPECT_NE(text.find("deleted at the restart: " + held + "\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("left behind: "), std::string::npos) << text;
    EXPECT_NE(text.find("self-deletion batch started"), std::string::npos);
    EXPECT_NE(text.find("exit code 3010"), std::string::npos);
    for (const std::string& f : m_inst.files) {
        if (f == held || f == uninstaller) continue;
        EXPECT_FALSE(Exists(f)) << f;
    }
    EXPECT_TRUE(FileExists(held));
    for (const std::string& k : m_inst.keys) EXPECT_FALSE(KeyExistsAt(k)) << k;
    EXPECT_TRUE(WaitSelfDeleted(uninstaller)) << "Uninstall.exe or its batch still there";
}
