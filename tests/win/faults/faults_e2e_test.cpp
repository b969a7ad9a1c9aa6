// Setup.exe and Uninstall.exe under faults, driven the way a person would:
// a library planted beside the programs, a package file held open by
// another process, controls that don't register, broken install records,
// cancels at known moments, odd destinations, two installers at once and
// a huge record.  Each test checks that what was recorded is not lost and
// that the programs end by themselves, within a bound.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "common/install_log.h"
#include "common/text_mode.h"
#include "resources/uninstall/resource.h"
#include "framework/AfxSecurity.h"
#include "support/Boxes.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/MediumBuilder.h"
#include "support/Process.h"
#include "support/Wizard.h"
#include "support/ProductNames.h"

using namespace quilmtest;

using namespace uidriver;

namespace {

const char kDoneText[] = "卸载完成!";
const std::string kFaultKey = "Software\\QuilmTest\\Faults";

// The record as the uninstaller reads it: CR LF lines become LF lines.
std::string RecordText(const std::string& path) {
    return CrLfToLf(ReadBytes(path));
}

// Sets an environment variable for the programs started while it lives.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const char* value) : m_name(name) {
        char buffer[4096] = {0};
        DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof(buffer));
        m_had = n > 0 && n < sizeof(buffer);
        m_old = buffer;
        ::SetEnvironmentVariableA(name, value);
    }
    ~EnvironmentOverride() {
        ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : NULL);
    }

private:
    std::string m_name, m_old;
    bool m_had;
};

}  // namespace

class FaultTest : public UninstallTest {
protected:
    void SetUp() override {
        UninstallTest::SetUp();
        if (HasFatalFailure()) return;
        m_guards->Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
        m_medium = m_dir + "medium\\";
        m_dest = m_dir + "dest\\Quilm 目录\\";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kFaultKey.c_str());
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kV9Key, KEY_WOW64_32KEY, 0);
        RemoveInstallation("");
    }

    void TearDown() override {
        // Only when a test failed half-way: end our own children.
        for (auto& child : m_processes)
            EXPECT_FALSE(child->Kill()) << "process " << child->id() << " still running at the end";
        // Shortcuts and the Start-menu folder of an installation.
        RemoveInstallation("");
        // The hidden batch of a finished uninstall deletes itself.
        EXPECT_TRUE(WaitSelfDeleted(""));
        UninstallTest::TearDown();
    }

    ChildProcess& Launch(const std::string& exe) {
        m_processes.emplace_back(new ChildProcess);
        EXPECT_TRUE(m_processes.back()->Start(exe)) << exe << " " << ::GetLastError();
        return *m_processes.back();
    }

    // Ends within the bound with the exit code that says how it went: no
    // crash, no hang.
    static void ExpectCleanEnd(const ChildProcess& child, DWORD timeout = kWait, DWORD code = 0) {
        ASSERT_TRUE(child.Wait(timeout)) << "process " << child.id() << " hangs";
        EXPECT_EQ(child.ExitCode(), code) << "process " << child.id();
    }

    // The finish page, within the bound, without any message box before it.
    static void Finish(const ChildProcess& child) {
        HWND finish = WaitPage(child.id(), Page::kFinish, kJobWait);
        ASSERT_NE(finish, nullptr) << "no finish page";
        EXPECT_EQ(WaitMessageBox(child.id(), 0), nullptr);
        ClickNext(finish);
        ExpectCleanEnd(child);
    }

    // Runs an Uninstall.exe: Yes at the question, waits for the end of the
    // job, checks the end text and closes it.  With notice, the notice that
    // comes at the end must contain it, and the exit code is 3.
    void Uninstall(const std::string& exe, const std::string& notice = std::string()) {
        ChildProcess& pi = Launch(exe);
        HWND box = WaitMessageBox(pi.id(), kWait);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(AnswerMessageBox(box, IDYES));
        HWND dialog = WaitTopWindow(kUninstallTitle, "#32770", pi.id(), IDC_PROGRESS, kWait);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, kJobWait)) << "the job did not end";
        EXPECT_EQ(GetItemText(dialog, IDC_DONE_TEXT), kDoneText);
        if (!notice.empty()) {
            HWND box = WaitMessageBox(pi.id(), kWait);
            ASSERT_NE(box, nullptr);
            EXPECT_NE(MessageBoxText(box).find(notice), std::string::npos) << MessageBoxText(box);
            ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        }
        ASSERT_TRUE(Click(dialog, IDOK));
        ExpectCleanEnd(pi, kWait, notice.empty() ? 0 : 3);
        EXPECT_TRUE(WaitSelfDeleted(exe)) << exe;
    }

    int BuildMedium(int extraFiles = 0, const std::string& missingFolder = std::string()) {
        MediumOptions options;
        options.withReadme = false;  // nothing is opened at the end
        options.extraFiles = extraFiles;
        options.missingFolder = missingFolder;
        int files = quilmtest::BuildMedium(m_medium, options);
        EXPECT_TRUE(MediumBuilder(m_medium).Copy("Uninstall.exe", QUILM_UNINSTALL_EXE));
        return files;
    }

    // Follows a started installation to its end: the finish page is
    // closed, the reinstall question answered Yes, the folder prompts
    // answered Cancel (Abort) and the file-error box OK.  The program must
    // end within the bound, with exit code code.
    struct Outcome {
        bool finished = false;
        std::vector<std::string> boxes;
    };
    static Outcome RunToEnd(const ChildProcess& pi, DWORD code) {
        Outcome outcome;
        EXPECT_TRUE(WaitUntil([&] { return Step(pi, outcome); }, kJobWait))
            << "process " << pi.id() << " did not end";
        ExpectCleanEnd(pi, 0, code);
        return outcome;
    }
    // One look at the program's windows; true when it has ended.
    static bool Step(const ChildProcess& pi, Outcome& outcome) {
        if (pi.Wait(0)) return true;
        // Once the finish page was closed the program is on its way out;
        // nothing more to answer.
        if (!outcome.finished) {
            HWND box = WaitMessageBox(pi.id(), 0);
            if (box) {
                std::string text = MessageBoxText(box);
                outcome.boxes.push_back(text);
                int answer = text.find("是否重新安装") != std::string::npos ? IDYES
                             : ::GetDlgItem(box, IDABORT)                   ? IDABORT
                             : ::GetDlgItem(box, IDCANCEL)                  ? IDCANCEL
                                                                            : IDOK;
                AnswerMessageBox(box, answer);
            }
            HWND finish = FindPage(pi.id(), Page::kFinish);
            if (finish) {
                outcome.finished = true;
                ClickNext(finish);
            }
        }
        return false;
    }

    // Follows an installation into m_dest that ends with a notice before
    // the finish page: the notice has headline and ends with the log it
    // names; then the finish page, and the exit code is 3.
    void InstallWithNotice(const std::string& headline, std::string& text, std::string& log) {
        ChildProcess& setup = Launch(m_medium + "Setup.exe");
        ASSERT_NE(StartCopy(setup.id(), m_dest), nullptr);
        HWND notice = WaitMessageBox(setup.id(), kJobWait);
        ASSERT_NE(notice, nullptr);
        text = MessageBoxText(notice);
        EXPECT_NE(text.find(headline), std::string::npos) << text;
        const char kLogLead[] = "全部列在日志中:\n";
        size_t at = text.find(kLogLead);
        ASSERT_NE(at, std::string::npos) << text;
        log = text.substr(at + std::strlen(kLogLead));
        ASSERT_TRUE(AnswerMessageBox(notice, IDOK));
        HWND finish = WaitPage(setup.id(), Page::kFinish, kWait);
        ASSERT_NE(finish, nullptr);
        ClickNext(finish);
        ExpectCleanEnd(setup, kWait, 3);
    }

    // Every file below dest is recorded exactly once.
    static void ExpectRecordedOnce(const std::string& dest,
                                   const std::vector<std::string>& recorded) {
        for (const std::string& file : FilesBelow(dest))
            EXPECT_EQ(std::count(recorded.begin(), recorded.end(), file), 1)
                << file << " not recorded once";
    }

    // A well-formed record whose every recorded file exists.
    static void ExpectSoundRecord(const std::string& dest) {
        ExpectWellFormedRecord(dest);
        for (const std::string& file : Entries(RecordText(dest + "Uninstall.log"), kFileCopy))
            EXPECT_TRUE(ExistsAnyLength(file)) << file;
    }

    std::string m_medium, m_dest;
    std::vector<std::unique_ptr<ChildProcess>> m_processes;
};

TEST_F(FaultTest, LockedPackageFileIsPassedOverAndNamed) {
    BuildMedium();
    // Another process holds one package file open without sharing.
    const std::string locked = m_medium + "Database\\data.bin";
    std::unique_ptr<void, decltype(&::CloseHandle)> lock(OpenWithoutSharing(locked), ::CloseHandle);
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    // Before the finish page a notice names the file and the log, which
    // gives the system's reason; the exit code says that not all is there.
    std::string text, log;
    ASSERT_NO_FATAL_FAILURE(InstallWithNotice("有 1 个文件未能复制:\n\n", text, log));
    lock.reset();
    EXPECT_NE(text.find("\n" + locked + "\n"), std::string::npos) << text;
    EXPECT_NE(ReadLog(log).find("not copied: " + locked), std::string::npos) << log;

    // The locked file was passed over and not recorded; everything else is
    // there and recorded.
    EXPECT_FALSE(ExistsAnyLength(m_dest + "Database\\data.bin"));
    EXPECT_TRUE(FileExists(m_dest + "Database\\说明.txt"));
    std::vector<std::string> recorded = Entries(RecordText(m_dest + "Uninstall.log"), kFileCopy);
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), m_dest + "Database\\data.bin"), 0);
    ExpectRecordedOnce(m_dest, recorded);
}

// A reinstall and an uninstall while programs hold package files: a
// library loaded as a module (held shared for deletion) and a file held
// without sharing.  Each is replaced or deleted at the restart.
TEST_F(FaultTest, FilesInUseAreReplacedAndDeletedAtTheRestart) {
    BuildMedium();
    const std::string module = "Support\\module.dll", data = "Database\\data.bin";
    ASSERT_TRUE(MediumBuilder(m_medium).Copy(module, QUILM_PLANTED_DLL));
    const std::string install = "/VERYSILENT /DIR=\"" + m_dest + "\"";
    ASSERT_EQ(RunProgram(m_medium + "Setup.exe", install, kJobWait), 0u);
    ASSERT_TRUE(MediumBuilder(m_medium).Copy(module, QUILM_FAILING_CONTROL));
    ASSERT_TRUE(WriteBytes(m_medium + data, "new data"));
    const auto hold = [&] {
        return std::make_pair(
            ::LoadLibraryExA((m_dest + module).c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES),
            OpenWithoutSharing(m_dest + data));
    };
    auto held = hold();
    ASSERT_TRUE(held.first && held.second != INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", install, kJobWait), 3010u);
    ::FreeLibrary(held.first);
    ::CloseHandle(held.second);
    ASSERT_TRUE(CompleteRestart());
    EXPECT_EQ(ReadBytes(m_dest + data), "new data");
    EXPECT_EQ(ReadBytes(m_dest + module), ReadBytes(HostToWine(QUILM_FAILING_CONTROL)));
    for (const std::string& file : FilesBelow(m_dest))
        EXPECT_EQ(file.find(".~"), std::string::npos) << "left beside: " << file;

    held = hold();
    EXPECT_EQ(RunProgram(m_dest + "Uninstall.exe", "/VERYSILENT", kJobWait), 3010u);
    EXPECT_TRUE(FileExists(m_dest + data));
    ::FreeLibrary(held.first);
    ::CloseHandle(held.second);
    ASSERT_TRUE(CompleteRestart());
    EXPECT_FALSE(FileExists(m_dest + data));
    EXPECT_FALSE(FileExists(m_dest + module));
    EXPECT_FALSE(FolderExists(m_dest + "Database"));
}

// A disc's read-only files, and installed files made read-only or hidden:
// a reinstall into the earlier folder (no /DIR) overwrites them, and the
// uninstaller deletes them.
TEST_F(FaultTest, ReadOnlyFilesAreReinstalledIntoTheEarlierFolderAndRemoved) {
    BuildMedium();
    ASSERT_TRUE(::SetFileAttributesA((m_medium + "Quilm.url").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"" + m_dest + "\"", kJobWait),
              0u);
    EXPECT_EQ(::GetFileAttributesA((m_dest + "Quilm.url").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    const char* const marked[] = {"Quilm.url", "图例\\说明.txt", "QuilmV8.5.ico"};
    for (const char* file : marked)
        ASSERT_TRUE(::SetFileAttributesA((m_dest + file).c_str(),
                                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    const std::string log = m_dir + "reinstall.log";
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /LOG=\"" + log + "\"", kJobWait), 0u);
    EXPECT_NE(ReadLog(log).find("destination: " + m_dest + "\r\n"), std::string::npos);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), m_dest);
    // The wizard offers the earlier folder too.
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    HWND question = WaitBoxSaying(setup.id(), "是否重新安装", kWait);
    ASSERT_TRUE(question && AnswerMessageBox(question, IDYES));
    HWND path = WalkToPathPage(setup.id());
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(DestinationShown(path), m_dest);
    ::PostMessageA(path, WM_COMMAND, IDCANCEL, 0);
    HWND quit = WaitBoxSaying(setup.id(), "真要退出安装程序吗", kWait);
    ASSERT_TRUE(quit && AnswerMessageBox(quit, IDYES));
    ExpectCleanEnd(setup, kWait, 2);

    for (const char* file : marked)
        ASSERT_TRUE(::SetFileAttributesA((m_dest + file).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RunProgram(m_dest + "Uninstall.exe", "/VERYSILENT", kJobWait), 0u);
    for (const char* file : marked) EXPECT_FALSE(ExistsAnyLength(m_dest + file)) << file;
}

TEST_F(FaultTest, PlantedLibraryAndBrokenControls) {
    BuildMedium();
    // A library named like the system's ODBC installer library, which the
    // uninstaller loads by name: on the medium beside Setup.exe, and so
    // installed beside Uninstall.exe too.
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_PLANTED_DLL).c_str(),
                            (m_medium + "odbccp32.dll").c_str(), FALSE));
    // A control whose registration fails, and one that is no library.
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_FAILING_CONTROL).c_str(),
                            (m_medium + "Control\\failing.ocx").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(m_medium + "Control\\text.ocx", "this is not a library\r\n"));

    // Before the finish page a notice names the two controls that did not
    // register, and so does the log; the exit code says that not all is
    // there.
    std::string text, log;
    ASSERT_NO_FATAL_FAILURE(InstallWithNotice("有 2 个项目未能完成:\n\n", text, log));
    const std::string logText = ReadLog(log);
    for (const char* control : {"failing.ocx", "text.ocx"}) {
        const std::string line = "控件未能注册: " + m_dest + "Control\\" + control;
        EXPECT_NE(text.find(line + "\n"), std::string::npos) << text;
        EXPECT_NE(logText.find("failed: " + line), std::string::npos) << log;
    }

    // Both controls are recorded all the same, and every file.
    ExpectSoundRecord(m_dest);
    std::string record = RecordText(m_dest + "Uninstall.log");
    std::vector<std::string> recorded = Entries(record, kFileCopy);
    ExpectRecordedOnce(m_dest, recorded);
    std::vector<std::string> controls = Entries(record, kRegCtrl);
    EXPECT_EQ(std::count(controls.begin(), controls.end(), m_dest + "Control\\failing.ocx"), 1);
    EXPECT_EQ(std::count(controls.begin(), controls.end(), m_dest + "Control\\text.ocx"), 1);
    ASSERT_TRUE(FileExists(m_dest + "odbccp32.dll"));
    ASSERT_TRUE(FileExists(m_dest + "Uninstall.exe"));

    // The uninstaller, found beside its record: every recorded file goes,
    // the controls too (the failing one unregistered first).  Wine prefers
    // its own build of a system library to a file of the same name found
    // on the search path; the override makes it search the way Windows
    // does, so a planted file found on the path would be loaded.
    {
        EnvironmentOverride native("WINEDLLOVERRIDES",
                                   "odbccp32=n,b;winemenubuilder.exe=d;mscoree,mshtml=");
        Uninstall(m_dest + "Uninstall.exe");
    }
    if (HasFatalFailure()) return;
    for (const std::string& file : recorded) EXPECT_FALSE(FileExists(file)) << file;
    EXPECT_FALSE(FileExists(m_dest + "Control\\failing.ocx"));
    EXPECT_FALSE(FileExists(m_dest + "Control\\text.ocx"));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kFaultKey, "FailingUnregistered"), "\x01");
    // Neither program ever loaded the planted library.
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kFaultKey, "PlantedLoadedBy"), "<missing>");
}

// A control planted in an existing install folder is never loaded nor
// recorded; in a folder users can write to, the medium's own is not loaded.
class PlantedControlTest : public FaultTest, public ::testing::WithParamInterface<bool> {};
TEST_P(PlantedControlTest, OnlyTheMediumsControlsAreLoadedAndOnlyInAClosedFolder) {
    BuildMedium();
    ASSERT_TRUE(CopyTestControl(m_medium + "Control\\brought.ocx"));
    ASSERT_TRUE(MakeFolders(m_dest + "Control") &&
                CopyTestControl(m_dest + "Control\\planted.ocx"));
    const std::string folder = m_dest.substr(0, m_dest.size() - 1);
    ASSERT_EQ(GetParam() ? AfxSetProtectedDacl(folder.c_str(), "D:P(A;OICI;FA;;;WD)") : 0u, 0u);
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup.id(), m_dest), nullptr);
    const Outcome outcome = RunToEnd(setup, GetParam() ? 3 : 0);
    const std::string notice = outcome.boxes.empty() ? "" : outcome.boxes[0];
    EXPECT_EQ(notice.find(m_dest + "Control\\brought.ocx\n") != std::string::npos, GetParam());
    EXPECT_EQ(ControlNote("brought.ocx"), GetParam() ? kMissing : "registered");
    EXPECT_EQ(ControlNote("planted.ocx"), kMissing);
    const std::string record = RecordText(m_dest + "Uninstall.log");
    EXPECT_EQ(Entries(record, kRegCtrl).size(), GetParam() ? 0u : 1u) << record;
    EXPECT_EQ(record.find("planted.ocx"), std::string::npos) << record;
}
INSTANTIATE_TEST_SUITE_P(OpenFolder, PlantedControlTest, ::testing::Bool());

// Uninstalled from its folder on a data drive, the batch runs no program
// planted in the drive's root and deletes no file there, also as it waits.
TEST_F(FaultTest, BatchRunsNothingPlantedOnTheDriveAndDeletesNothingThere) {
    BuildMedium();
    const std::string marker = m_dir + "marker.txt", program = "Q:\\Quilm\\Uninstall.exe";
    for (const char* name : {"Q:\\ping.bat", "Q:\\ping.cmd"})
        ASSERT_TRUE(WriteBytes(name, "@echo ran>>\"" + marker + "\"\r\n"));
    ASSERT_TRUE(WriteBytes("Q:\\Filedelr.avi", "a user's video"));
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"Q:\\Quilm\"", kJobWait), 0u);
    // Open without delete sharing until the batch has reached its wait.
    HANDLE held =
        ::CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ChildProcess& uninstall = *m_processes.emplace_back(new ChildProcess);
    ASSERT_TRUE(uninstall.Start(program, "/VERYSILENT", "Q:\\Quilm"));
    ExpectCleanEnd(uninstall, kJobWait);
    EXPECT_TRUE(WaitUntil([] { return ProgramRunning("PING.EXE"); }, kWait)) << "no wait started";
    ::CloseHandle(held);
    EXPECT_TRUE(WaitSelfDeleted("Q:\\Quilm"));
    EXPECT_FALSE(FileExists(marker)) << ReadBytes(marker);
    EXPECT_TRUE(FileExists("Q:\\Filedelr.avi"));
}

// Runs the probe from folder with arguments; its exit code.  Started
// from another folder: the library is found only beside the probe.
DWORD RunProbe(const std::string& folder, const std::string& arguments) {
    return RunProgram(folder + "dll_search_probe.exe", arguments, kWait);
}

TEST_F(FaultTest, RestrictedSearchSkipsTheProgramsFolderButNotFullPaths) {
    std::string folder = m_dir + "probe\\";
    ASSERT_TRUE(MakeFolders(folder));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_DLL_SEARCH_PROBE).c_str(),
                            (folder + "dll_search_probe.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_PLANTED_PROBE_DLL).c_str(),
                            (folder + "quilm_planted.dll").c_str(), FALSE));
    std::string control = m_dir + "控件 目录\\failing.ocx";
    ASSERT_TRUE(MakeFolders(m_dir + "控件 目录"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_FAILING_CONTROL).c_str(), control.c_str(), FALSE));
    // Unrestricted, the planted library beside the program is loaded.
    EXPECT_EQ(RunProbe(folder, "open \"" + control + "\""), 3u);
    EXPECT_NE(GetValue(HKEY_CURRENT_USER, kFaultKey, "PlantedLoadedBy"), "<missing>");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kFaultKey.c_str());
    // Restricted: not loaded; a control by its full path still is.
    DWORD code = RunProbe(folder, "restrict \"" + control + "\"");
    std::printf("SetDefaultDllDirectories %s\n",
                (code & 4) ? "available" : "missing, current folder removed");
    EXPECT_EQ(code & 3, 2u);
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kFaultKey, "PlantedLoadedBy"), "<missing>");
    // A control whose helper library sits beside it still loads.
    std::string dependent = m_dir + "控件 目录\\dependent.ocx";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_DEPENDENT_CONTROL).c_str(), dependent.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_CONTROL_HELPER).c_str(),
                            (m_dir + "控件 目录\\quilm_control_helper.dll").c_str(), FALSE));
    EXPECT_EQ(RunProbe(folder, "restrict \"" + dependent + "\"") & 3, 2u);
    EXPECT_EQ(RunProbe(folder, "open \"" + dependent + "\"") & 3, 3u);
}

TEST_F(FaultTest, ProductKeysCannotBeWritten) {
    BuildMedium();
    // The product key cannot be created (its parent is volatile), and the
    // Add/Remove Programs key exists but may not be written to.
    std::string productKey = kProductKey;
    VolatileKey parent(HKEY_LOCAL_MACHINE, productKey.substr(0, productKey.rfind('\\')));
    ASSERT_TRUE(parent.ok());
    ReadOnlyKey arp(HKEY_LOCAL_MACHINE, kUninstallKey);
    ASSERT_TRUE(arp.ok());
    HKEY probe = NULL;
    ASSERT_NE(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, productKey.c_str(), 0, NULL, 0,
                                MAXIMUM_ALLOWED | KEY_WOW64_32KEY, NULL, &probe, NULL),
              ERROR_SUCCESS)
        << "the product key can be created: no fault to test";
    ASSERT_FALSE(SetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "probe", "x"))
        << "the Add/Remove Programs key can be written: no fault to test";

    // The installation goes on to its end; before the finish page a notice
    // names the values not written, and the exit code says so.
    std::string text, log;
    ASSERT_NO_FATAL_FAILURE(InstallWithNotice("个项目未能完成:\n\n", text, log));
    for (const std::string& value :
         {productKey + "\\installPath", std::string(kUninstallKey) + "\\DisplayName"})
        EXPECT_NE(text.find("注册表值未能写入: HKLM\\" + value), std::string::npos) << text;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, productKey));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "<missing>");
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "<missing>");
    // Both keys recorded all the same, and everything else too.
    ExpectSoundRecord(m_dest);
    std::string record = RecordText(m_dest + "Uninstall.log");
    std::vector<std::string> keys = Entries(record, kRegDbKey);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), "2," + productKey), 1);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), std::string("2,") + kUninstallKey), 1);
    std::vector<std::string> recorded = Entries(record, kFileCopy);
    ExpectRecordedOnce(m_dest, recorded);

    // Without the product key the uninstaller finds its record beside
    // itself and removes every recorded file.
    ASSERT_NO_FATAL_FAILURE(Uninstall(m_dest + "Uninstall.exe"));
    for (const std::string& file : recorded) EXPECT_FALSE(FileExists(file)) << file;
}

TEST_F(FaultTest, TruncatedRecordWithBytesOutsideTheCodePage) {
    // An installation made by hand, with the uninstaller beside its record.
    std::string inst = m_dir + "inst 目录\\";
    ASSERT_TRUE(MakeFolders(inst + "子目录"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_UNINSTALL_EXE).c_str(),
                            (inst + "Uninstall.exe").c_str(), FALSE));
    for (const char* name : {"a.txt", "子目录\\b.txt", "子目录\\c.txt", "d.txt"})
        ASSERT_TRUE(WriteBytes(inst + name, name));
    std::string record = "File Copy: " + inst + "a.txt\r\n";
    // Bytes that are no characters of the code page: 0xFF and 0x80 are no
    // lead bytes, 0x81 0x7F is no pair, and a lead byte ends a line.
    record += "File Copy: " + inst + "\xFF\x80\x81\x7F.txt\r\n";
    record += "Made Dir: " + inst + "\xD7\r\n";
    record += "File Copy: " + inst + "d.txt\r\n";
    record += "Made Dir: " + inst + "子目录\r\n";
    record += "File Copy: " + inst + "子目录\\b.txt\r\n";
    record += "File Copy: " + inst + "Uninstall.log\r\n";
    record += "RegDB Key: \xFE\xFF,Software\\QuilmTest\\Faults\\\xFF\r\n";
    // Cut in the middle of the last line, inside a double-byte character.
    record += "File Copy: " + inst + std::string("子目录\\c.txt").substr(0, 4);
    ASSERT_TRUE(WriteBytes(inst + "Uninstall.log", record));

    // The entries with bytes outside the code page, the file's and the
    // key's without a root, are passed over and named so.
    ASSERT_NO_FATAL_FAILURE(Uninstall(inst + "Uninstall.exe",
                                      "有 2 个项目未能删除, 可以手工删除:\n\n"
                                      "已跳过 (不在安装文件夹内, 未删除): File Copy: " +
                                          inst));
    // What the readable lines name is gone; the file the cut line named
    // only in part, and its folder, stay.
    EXPECT_FALSE(FileExists(inst + "a.txt"));
    EXPECT_FALSE(FileExists(inst + "d.txt"));
    EXPECT_FALSE(FileExists(inst + "子目录\\b.txt"));
    EXPECT_FALSE(FileExists(inst + "Uninstall.log"));
    EXPECT_TRUE(FileExists(inst + "子目录\\c.txt"));
}

// A cancel on the copy page at known moments of the job: held in the
// prompt for a package folder missing on the medium, the cancel question
// is answered Yes either while the job is still in its copy phase, or only
// once it has left it.
struct CancelMoment {
    const char* name;
    int promptAnswer;  // to the job's prompt
    bool yesFirst;     // Yes to the question before the prompt is answered
    DWORD exitCode;    // the program's own
    bool installed;
};

class CancelTest : public FaultTest, public ::testing::WithParamInterface<CancelMoment> {};

TEST_P(CancelTest, OnTheCopyPage) {
    const CancelMoment& moment = GetParam();
    // "图库" is the eighth of the nine folders: the job waits in its prompt
    // with seven folders copied and "Temp" still to come.
    const std::string missing = m_medium + "图库";
    BuildMedium(0, "图库");
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup.id(), m_dest), nullptr);
    HWND prompt = WaitBoxSaying(setup.id(), "找不到安装文件的路径 " + missing + "\\", kJobWait);
    ASSERT_NE(prompt, nullptr);
    HWND copy = FindPage(setup.id(), Page::kCopy);
    ASSERT_NE(copy, nullptr);
    // What Esc does.
    ASSERT_TRUE(::PostMessageA(copy, WM_COMMAND, IDCANCEL, 0));
    HWND question = WaitBoxSaying(setup.id(), "真要退出安装程序吗", kWait);
    ASSERT_NE(question, nullptr);
    if (moment.yesFirst) {
        ASSERT_TRUE(AnswerMessageBox(question, IDYES));
        // The page greys 取消 once it has asked the job to stop.
        ASSERT_TRUE(WaitUntil([&] { return !IsItemEnabled(copy, IDCANCEL); }, kWait));
        // The folder is there now: searched again, it is found.
        if (moment.promptAnswer == IDRETRY) {
            ASSERT_TRUE(MakeFolders(missing));
        }
        ASSERT_TRUE(AnswerMessageBox(prompt, moment.promptAnswer));
    } else {
        // The question stays open while the job goes on past its copy
        // phase and writes its record, the last thing it does.
        ASSERT_TRUE(AnswerMessageBox(prompt, moment.promptAnswer));
        ASSERT_TRUE(WaitUntil([&] { return ExistsAnyLength(m_dest + "Uninstall.log"); }, kJobWait));
        EXPECT_FALSE(IsItemEnabled(copy, IDCANCEL));
        ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    }
    if (moment.installed) {
        ASSERT_NO_FATAL_FAILURE(Finish(setup));
    }
    ExpectCleanEnd(setup, kJobWait, moment.exitCode);
    // Stopped, the job undoes its copy, the folders above the install
    // folder that it made included.
    EXPECT_EQ(FolderExists(m_dir + "dest"), moment.installed);
    EXPECT_EQ(FileExists(m_dest + "图例\\说明.txt"), moment.installed);
    EXPECT_EQ(FileExists(m_dest + "Temp\\说明.txt"), moment.installed);
    EXPECT_EQ(ExistsAnyLength(m_dest + "Uninstall.log"), moment.installed);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"),
              moment.installed ? m_dest : "<missing>");
    if (moment.installed) ExpectSoundRecord(m_dest);
    RemoveInstallation(m_dest);
}

INSTANTIATE_TEST_SUITE_P(Moments, CancelTest,
                         ::testing::Values(
                             // Stopped in the copy phase: the prompt's answer
                             // then ends the copy, whichever it is.
                             CancelMoment{"YesThenRetry", IDRETRY, true, 2, false},
                             CancelMoment{"YesThenAbort", IDABORT, true, 2, false},
                             // Too late: the job no longer stops.
                             CancelMoment{"YesOnceConfiguring", IDIGNORE, false, 0, true}),
                         [](const ::testing::TestParamInfo<CancelMoment>& info) {
                             return std::string(info.param.name);
                         });

// Unattended, a missing folder stops the job: what it made is removed,
// the folders above the install folder included.
TEST_F(FaultTest, StoppedInstallLeavesNothingOfTheRun) {
    BuildMedium(0, "图库");
    const std::string log = m_dir + "undo.log";
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe",
                         "/VERYSILENT /DIR=\"" + m_dest + "a\\b\" /LOG=\"" + log + "\"", kJobWait),
              4u);
    EXPECT_FALSE(FolderExists(m_dir + "dest"));
    EXPECT_NE(ReadLog(log).find(" folders removed, 0 left for the restart, 0 not undone\r\n"),
              std::string::npos);
}

// A reinstall from a medium whose files differ, stopped at a missing
// folder, leaves the earlier installation byte for byte as it was, and
// its uninstaller removes it.  A file a program holds during the undo
// comes back at the restart.
TEST_F(FaultTest, StoppedReinstallLeavesTheEarlierInstallationAsItWas) {
    BuildMedium();
    const std::string install = "/VERYSILENT /DIR=\"" + m_dest + "\"";
    ASSERT_EQ(RunProgram(m_medium + "Setup.exe", install, kJobWait), 0u);
    ASSERT_TRUE(
        ::SetFileAttributesA((m_dest + "Database\\data.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    const std::map<std::string, std::string> earlier = TreeBelow(m_dest);
    ASSERT_TRUE(RemoveTree(m_medium + "图库"));
    for (const char* file : {"图例\\说明.txt", "Database\\data.bin", "Database\\added.txt"})
        ASSERT_TRUE(WriteBytes(m_medium + file, "new"));
    const std::string log = m_dir + "undo.log";
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", install + " /LOG=\"" + log + "\"", kJobWait), 4u);
    EXPECT_EQ(TreeBelow(m_dest), earlier);
    EXPECT_NE(ReadLog(log).find("copy phase undone: 1 files deleted, "), std::string::npos);

    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    HWND question = WaitBoxSaying(setup.id(), "是否重新安装", kWait);
    ASSERT_TRUE(question && AnswerMessageBox(question, IDYES));
    ASSERT_NE(StartCopy(setup.id(), m_dest), nullptr);
    HWND prompt = WaitBoxSaying(setup.id(), "找不到安装文件的路径", kJobWait);
    ASSERT_NE(prompt, nullptr);
    const std::string held = m_dest + "图例\\说明.txt";
    std::unique_ptr<void, decltype(&::CloseHandle)> hold(OpenWithoutSharing(held), ::CloseHandle);
    ASSERT_NE(hold.get(), INVALID_HANDLE_VALUE);
    ASSERT_TRUE(AnswerMessageBox(prompt, IDABORT));
    HWND notice = WaitBoxSaying(setup.id(), "重新启动计算机后才能完成撤消安装", kJobWait);
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(MessageBoxText(notice).find("\n" + held + "\n"), std::string::npos);
    HWND copy = FindPage(setup.id(), Page::kCopy);
    EXPECT_TRUE(copy && ::FindWindowExA(copy, NULL, "Button", "正在撤消安装"));
    ASSERT_TRUE(AnswerMessageBox(notice, IDOK));
    ExpectCleanEnd(setup, kJobWait, 4);
    hold.reset();
    ASSERT_TRUE(CompleteRestart());
    EXPECT_EQ(TreeBelow(m_dest), earlier);
    EXPECT_EQ(RunProgram(m_dest + "Uninstall.exe", "/VERYSILENT", kJobWait), 0u);
    EXPECT_FALSE(ExistsAnyLength(m_dest + "Database\\data.bin"));
}

TEST_F(FaultTest, ReadOnlyDestinationFolder) {
    int files = BuildMedium();
    ASSERT_TRUE(MakeFolders(m_dest));
    ASSERT_TRUE(::SetFileAttributesA(m_dest.c_str(), FILE_ATTRIBUTE_READONLY));
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup.id(), m_dest), nullptr);
    Outcome outcome = RunToEnd(setup, 0);
    ::SetFileAttributesA(m_dest.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::printf("read-only folder: %s, %d boxes\n",
                outcome.finished ? "installed" : "not installed",
                static_cast<int>(outcome.boxes.size()));
    // A folder's read-only attribute does not stop files going into it.
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_GE(CountFilesBelow(m_dest), files);
    ExpectSoundRecord(m_dest);
}

TEST_F(FaultTest, DestinationBelowAFileIsRefusedWithThePrompt) {
    BuildMedium();
    // A plain file where the destination needs a folder.
    ASSERT_TRUE(MakeFolders(m_dir + "dest"));
    ASSERT_TRUE(WriteBytes(m_dir + "dest\\blocker", "a file"));
    std::string dest = m_dir + "dest\\blocker\\Quilm\\";
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup.id(), dest), nullptr);
    Outcome outcome = RunToEnd(setup, 4);
    EXPECT_FALSE(outcome.finished);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_NE(outcome.boxes[0].find("不能创建文件夹"), std::string::npos) << outcome.boxes[0];
    EXPECT_FALSE(ExistsAnyLength(dest + "Uninstall.log"));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), "<missing>");
}

TEST_F(FaultTest, DestinationLongerThanTheSystemPathLimit) {
    BuildMedium();
    // Over 600 bytes are over 300 characters, whatever the temporary
    // folder: longer than the ANSI functions take (MAX_PATH).
    const std::string kName = "很长的目录名称 long folder name";
    std::string dest = m_dir + "dest\\";
    while (dest.size() <= 600) dest += kName + "\\";
    ChildProcess& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup.id(), dest), nullptr);
    // The folders within the limit are made; the first beyond it is not,
    // and the folder prompt names it (answered Cancel): nothing installed.
    Outcome outcome = RunToEnd(setup, 4);
    EXPECT_FALSE(outcome.finished);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    const std::string& prompt = outcome.boxes[0];
    const std::string kLead = "不能创建文件夹 ";
    const size_t at = prompt.find(kLead), end = prompt.find(" ，", at);
    ASSERT_TRUE(at != std::string::npos && end != std::string::npos) << prompt;
    const std::string folder = prompt.substr(at + kLead.size(), end - at - kLead.size());
    ASSERT_GT(folder.size(), kName.size()) << prompt;
    EXPECT_EQ(dest.compare(0, folder.size() + 1, folder + "\\"), 0) << folder;
    EXPECT_EQ(folder.compare(folder.size() - kName.size(), kName.size(), kName), 0) << folder;
    // The folders made on the way are removed again.
    EXPECT_FALSE(FolderExists(m_dir + "dest")) << folder;
    EXPECT_FALSE(ExistsAnyLength(folder));
    EXPECT_FALSE(ExistsAnyLength(dest + "Uninstall.log"));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), "<missing>");
}

TEST_F(FaultTest, TwoInstallersAtOnceOnTheSameMedium) {
    BuildMedium(300);
    // Copies: the list the references point into grows with each start.
    ChildProcess& a = Launch(m_medium + "Setup.exe");
    ASSERT_NE(WaitPage(a.id(), Page::kWelcome), nullptr);
    // While the first shows its wizard, a second Setup is refused with a
    // box, and an unattended Setup or Uninstall with exit code 1618,
    // before touching anything.
    ChildProcess& b = Launch(m_medium + "Setup.exe");
    HWND box = WaitMessageBox(b.id(), kWait);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("正在运行"), std::string::npos) << MessageBoxText(box);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ExpectCleanEnd(b, kWait, 1618);
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"" + m_dest + "\"", kWait),
              1618u);
    EXPECT_EQ(RunProgram(m_medium + "Uninstall.exe", "/VERYSILENT", kWait), 1618u);
    EXPECT_FALSE(FolderExists(m_dest));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), "<missing>");

    // The first one installs undisturbed.
    ASSERT_NE(StartCopy(a.id(), m_dest), nullptr);
    Outcome outcome = RunToEnd(a, 0);
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.boxes.empty());
    ExpectSoundRecord(m_dest);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), m_dest);
    // Once it has ended, the next run goes ahead.
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"" + m_dest + "\"", kJobWait),
              0u);
}

TEST_F(FaultTest, TooLittleFreeSpaceUnattendedEndsWithFourAndTouchesNothing) {
    BuildMedium();
    // A sparse file larger than the whole volume, so more than its free space.
    ULARGE_INTEGER total = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExA(m_medium.c_str(), NULL, &total, NULL));
    const ULONGLONG big = total.QuadPart + (1ULL << 30);
    ASSERT_TRUE(MakeHostSparseFile(m_medium + "Database\\big.bin", big));
    const std::string log = m_dir + "setup.log";
    EXPECT_EQ(RunProgram(m_medium + "Setup.exe",
                         "/VERYSILENT /DIR=\"" + m_dest + "\" /LOG=\"" + log + "\"", kJobWait),
              4u);
    // Both sizes in the log, the volume asked through the nearest folder.
    const std::string text = ReadLog(log);
    const size_t at = text.find("not enough free space: ");
    ASSERT_NE(at, std::string::npos) << text;
    unsigned long long needed = 0, free = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + at, "not enough free space: %llu bytes needed, %llu",
                          &needed, &free),
              2);
    EXPECT_GT(needed, big);
    EXPECT_LT(free, total.QuadPart);
    EXPECT_NE(text.find("bytes free on " + m_dir + "\r\n", at), std::string::npos) << text;
    EXPECT_FALSE(Exists(m_dir + "dest"));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath"), "<missing>");
}

TEST_F(FaultTest, UninstallerNamesAProgramFromTheInstallFolder) {
    BuildMedium();
    ASSERT_EQ(RunProgram(m_medium + "Setup.exe", "/VERYSILENT /DIR=\"" + m_dest + "\"", kJobWait),
              0u);
    const std::string tool = m_dest + "工具.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_WAITING_PROGRAM).c_str(), tool.c_str(), FALSE));
    ChildProcess& running = Launch(tool);
    // 取消 in the box that names it: nothing is removed.
    ChildProcess& uninstall = Launch(m_dest + "Uninstall.exe");
    HWND question = WaitMessageBox(uninstall.id(), kWait);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    HWND box = WaitBoxSaying(uninstall.id(), "\n" + tool + "\n", kWait);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(AnswerMessageBox(box, IDCANCEL));
    ExpectCleanEnd(uninstall, kWait, 2);
    EXPECT_TRUE(FileExists(m_dest + "Uninstall.log"));
    EXPECT_TRUE(FileExists(m_dest + "Quilm.exe"));
    // Unattended, nobody is asked: the log names it, and the removal goes on.
    const std::string log = m_dir + "uninstall.log";
    EXPECT_EQ(RunProgram(m_dest + "Uninstall.exe", "/VERYSILENT /LOG=\"" + log + "\"", kJobWait),
              0u);
    EXPECT_NE(ReadLog(log).find("in use: " + tool), std::string::npos) << log;
    EXPECT_FALSE(FileExists(m_dest + "Uninstall.log"));
    EXPECT_TRUE(running.Kill());
}

TEST_F(FaultTest, HundredMegabyteRecord) {
    std::string inst = m_dir + "big\\";
    ASSERT_TRUE(MakeFolders(inst + "kept"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_UNINSTALL_EXE).c_str(),
                            (inst + "Uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(inst + "first.txt", "first"));
    ASSERT_TRUE(WriteBytes(inst + "kept\\last.txt", "last"));
    const std::string bigKey = std::string(kProductKey) + "\\Big";
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, bigKey, "v", "x"));
    // Recorded files that are gone already, under names of 60,000 bytes,
    // fill the record to 100 MB; the real entries are at both ends.  (A
    // record of that size in ordinary lines, some 400,000 entries, takes
    // longer than this test may run: the dialog shows every entry.)
    const size_t kSize = 100u << 20;
    std::string record = "File Copy: " + inst + "first.txt\r\n";
    std::string gone = "File Copy: " + inst + "gone\\" + std::string(60000, 'n') + "_";
    char number[16];
    int fillers = 0;
    while (record.size() < kSize) {
        std::snprintf(number, sizeof(number), "%07d", fillers++);
        record += gone + number + ".dwg\r\n";
    }
    record += "File Copy: " + inst + "kept\\last.txt\r\n";
    record += "Made Dir: " + inst + "kept\r\n";
    record += "File Copy: " + inst + "Uninstall.log\r\n";
    record += "RegDB Key: 2," + bigKey + "\r\n";
    ASSERT_TRUE(WriteBytes(inst + "Uninstall.log", record));
    std::printf("record of %d bytes, %d entries\n", static_cast<int>(record.size()), fillers + 4);
    record.clear();
    record.shrink_to_fit();

    // How long it takes is measured by tools/uninstall_demo/bench.sh.
    ASSERT_NO_FATAL_FAILURE(Uninstall(inst + "Uninstall.exe"));
    EXPECT_FALSE(FileExists(inst + "first.txt"));
    EXPECT_FALSE(FileExists(inst + "kept\\last.txt"));
    EXPECT_FALSE(FolderExists(inst + "kept"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, bigKey));
}
