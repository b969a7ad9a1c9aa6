// Setup.exe and Uninstall.exe under faults, driven the way a person would:
// a library planted beside the programs, a package file held open by
// another process, controls that don't register, broken install records,
// cancels at random moments, odd destinations, two installers at once and
// a huge record.  Each test checks that what was recorded is not lost and
// that the programs end by themselves, within a bound.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "TestKit.h"
#include "UiDriver.h"
#include "common/install_log.h"
#include "test_support.h"

using namespace uidriver;

namespace {

const char kWizardTitle[] = "Quilm V8.5 安装向导";
const char kUninstallTitle[] = "Quilm V9.0 卸载";
const char kDoneText[] = "卸载完成!";
const std::string kV9Key = "SOFTWARE\\Corvantix\\Quilm\\V9";
const std::string kFaultKey = "Software\\QuilmTest\\Faults";
const DWORD kWait = 15000;
const DWORD kJobWait = 120000;

// Controls that only one page has, to tell the pages apart.
enum PageMark { kWelcome = 1004, kLicense = 1005, kPath = 1011, kCopy = 1014, kFinish = 1017 };
enum { IDC_PROGRESS = 1000, IDC_DONE = 1003 };

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> Entries(const std::string& record, int kind) {
    std::vector<std::string> values;
    size_t pos = 0, start = 0, length = 0;
    while (FindEntry(record, kind, pos, start, length)) values.push_back(record.substr(start, length));
    return values;
}

// Plain files below folder (full paths), at any depth.
void ListFilesBelow(const std::string& folder, std::vector<std::string>& out) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFilesBelow(folder + name + "\\", out);
        else
            out.push_back(folder + name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

// The record as the uninstaller reads it: CR LF lines become LF lines.
std::string RecordText(const std::string& path) {
    std::string bytes = ReadBytes(path), text;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    return text;
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
    ~EnvironmentOverride() { ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : NULL); }

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
        m_guards->Add(HKEY_LOCAL_MACHINE, testkit::kUninstallKey);
        m_medium = m_dir + "medium\\";
        m_dest = m_dir + "dest\\Quilm 目录\\";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kFaultKey.c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kV9Key.c_str());
        testkit::RemoveInstallation("");
    }

    void TearDown() override {
        for (PROCESS_INFORMATION& pi : m_processes) {
            // Only when a test failed half-way: end our own child.
            if (!WaitProcessEnd(pi.hProcess, 0)) {
                ADD_FAILURE() << "process " << pi.dwProcessId << " still running at the end";
                ::TerminateProcess(pi.hProcess, 1);
            }
            WaitProcessEnd(pi.hProcess, 5000);
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
        // Shortcuts and the Start-menu folder of an installation.
        testkit::RemoveInstallation("");
        WaitBatchGone();
        UninstallTest::TearDown();
    }

    // The hidden batch of a finished uninstall deletes itself.
    static void WaitBatchGone() {
        for (int i = 0; i < 300 && ::FileExists("C:\\DelUS.bat"); ++i) ::Sleep(100);
    }

    PROCESS_INFORMATION& Launch(const std::string& exe) {
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        BOOL ok = ::CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, "C:\\", &si, &pi);
        EXPECT_TRUE(ok) << exe << " " << ::GetLastError();
        m_processes.push_back(pi);
        return m_processes.back();
    }

    // Ends within the bound with exit code 0: no crash, no hang.
    static void ExpectCleanEnd(const PROCESS_INFORMATION& pi, DWORD timeout = kWait) {
        ASSERT_TRUE(WaitProcessEnd(pi.hProcess, timeout)) << "process " << pi.dwProcessId << " hangs";
        DWORD code = 0xFFFFFFFF;
        ::GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, 0u) << "process " << pi.dwProcessId;
    }

    static HWND Page(const PROCESS_INFORMATION& pi, int mark, DWORD timeout = kWait) {
        return WaitTopWindow(kWizardTitle, "#32770", pi.dwProcessId, mark, timeout);
    }

    // Welcome -> agreement (accepted) -> destination page, dest typed, Next.
    static HWND StartCopy(const PROCESS_INFORMATION& pi, const std::string& dest) {
        HWND welcome = Page(pi, kWelcome);
        if (!welcome) return NULL;
        Click(welcome, 1001);
        HWND license = Page(pi, kLicense);
        if (!license) return NULL;
        Click(license, 1007);
        if (!WaitItemEnabled(license, 1001, true, kWait)) return NULL;
        Click(license, 1001);
        HWND path = Page(pi, kPath);
        if (!path) return NULL;
        SetItemText(path, 1011, dest);
        Click(path, 1001);
        return path;
    }

    // The finish page, within the bound, without any message box before it.
    static void Finish(const PROCESS_INFORMATION& pi) {
        HWND finish = Page(pi, kFinish, kJobWait);
        ASSERT_NE(finish, nullptr) << "no finish page";
        EXPECT_EQ(WaitMessageBox(pi.dwProcessId, 0), nullptr);
        Click(finish, 1001);
        ExpectCleanEnd(pi);
    }

    // Runs an Uninstall.exe: Yes at the question, waits for the end of the
    // job, checks the end text and closes it.
    void Uninstall(const std::string& exe, DWORD jobWait = kJobWait) {
        PROCESS_INFORMATION& pi = Launch(exe);
        HWND box = WaitMessageBox(pi.dwProcessId, kWait);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(AnswerMessageBox(box, IDYES));
        HWND dialog = WaitTopWindow(kUninstallTitle, "#32770", pi.dwProcessId, IDC_PROGRESS, kWait);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitItemEnabled(dialog, IDOK, true, jobWait)) << "the job did not end";
        EXPECT_EQ(GetItemText(dialog, IDC_DONE), kDoneText);
        ASSERT_TRUE(Click(dialog, IDOK));
        ExpectCleanEnd(pi);
        WaitBatchGone();
    }

    int BuildMedium(int extraFiles = 0) {
        testkit::MediumOptions options;
        options.withReadme = false;  // nothing is opened at the end
        options.extraFiles = extraFiles;
        int files = testkit::BuildMedium(m_medium, options);
        EXPECT_TRUE(::CopyFileA(HostToWine(QUILM_UNINSTALL_EXE).c_str(), (m_medium + "Uninstall.exe").c_str(),
                                FALSE));
        return files;
    }

    std::string m_medium, m_dest;
    std::vector<PROCESS_INFORMATION> m_processes;
};

TEST_F(FaultTest, PlantedLibraryLockedFileAndBrokenControls) {
    BuildMedium();
    // A library named like the system's ODBC installer library, which the
    // uninstaller loads by name: on the medium beside Setup.exe, and so
    // installed beside Uninstall.exe too.
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_PLANTED_DLL).c_str(), (m_medium + "odbccp32.dll").c_str(), FALSE));
    // A control whose registration fails, and one that is no library.
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_FAILING_CONTROL).c_str(), (m_medium + "Control\\failing.ocx").c_str(),
                            FALSE));
    ASSERT_TRUE(WriteBytes(m_medium + "Control\\text.ocx", "this is not a library\r\n"));
    // Another process holds one package file open without sharing.
    std::string locked = m_medium + "Database\\data.bin";
    HANDLE lock = ::CreateFileA(locked.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    PROCESS_INFORMATION& setup = Launch(m_medium + "Setup.exe");
    ASSERT_NE(StartCopy(setup, m_dest), nullptr);
    Finish(setup);
    ::CloseHandle(lock);
    if (HasFatalFailure()) return;

    // The locked file was passed over and not recorded; everything else is
    // there and recorded.
    EXPECT_FALSE(PathExists(m_dest + "Database\\data.bin"));
    EXPECT_TRUE(FileExists(m_dest + "Database\\说明.txt"));
    std::string record = RecordText(m_dest + "Uninstall.log");
    std::vector<std::string> recorded = Entries(record, kFileCopy);
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), m_dest + "Database\\data.bin"), 0);
    std::vector<std::string> present;
    ListFilesBelow(m_dest, present);
    for (const std::string& file : present)
        EXPECT_EQ(std::count(recorded.begin(), recorded.end(), file), 1) << file << " not recorded once";
    std::vector<std::string> controls = Entries(record, kRegCtrl);
    EXPECT_EQ(std::count(controls.begin(), controls.end(), m_dest + "Control\\failing.ocx"), 1);
    EXPECT_EQ(std::count(controls.begin(), controls.end(), m_dest + "Control\\text.ocx"), 1);
    ASSERT_TRUE(FileExists(m_dest + "odbccp32.dll"));
    ASSERT_TRUE(FileExists(m_dest + "Uninstall.exe"));
    std::printf("recorded %d files, %d folders, %d controls, %d keys\n", static_cast<int>(recorded.size()),
                CountEntries(record, kMadeDir), static_cast<int>(controls.size()), CountEntries(record, kRegDbKey));

    // The uninstaller, found beside its record: every recorded file goes,
    // the controls too (the failing one unregistered first).  Wine prefers
    // its own build of a system library to a file of the same name found
    // on the search path; the override makes it search the way Windows
    // does, so a planted file found on the path would be loaded.
    {
        EnvironmentOverride native("WINEDLLOVERRIDES", "odbccp32=n,b;winemenubuilder.exe=d;mscoree,mshtml=");
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

// Runs the probe from folder with arguments; its exit code.
DWORD RunProbe(const std::string& folder, const std::string& arguments) {
    std::string exe = folder + "dll_search_probe.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Started from another folder: the library is found only beside the probe.
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, "C:\\", &si, &pi))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitProcessEnd(pi.hProcess, kWait)) ::GetExitCodeProcess(pi.hProcess, &code);
    else ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return code;
}

TEST_F(FaultTest, RestrictedSearchSkipsTheProgramsFolderButNotFullPaths) {
    std::string folder = m_dir + "probe\\";
    ASSERT_TRUE(MakeFolders(folder));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_DLL_SEARCH_PROBE).c_str(), (folder + "dll_search_probe.exe").c_str(),
                            FALSE));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_PLANTED_PROBE_DLL).c_str(), (folder + "quilm_planted.dll").c_str(),
                            FALSE));
    std::string control = m_dir + "控件 目录\\failing.ocx";
    ASSERT_TRUE(MakeFolders(m_dir + "控件 目录"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_FAILING_CONTROL).c_str(), control.c_str(), FALSE));
    // Unrestricted, the planted library beside the program is loaded.
    EXPECT_EQ(RunProbe(folder, "open \"" + control + "\""), 3u);
    EXPECT_NE(GetValue(HKEY_CURRENT_USER, kFaultKey, "PlantedLoadedBy"), "<missing>");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kFaultKey.c_str());
    // Restricted: not loaded; a control by its full path still is.
    DWORD code = RunProbe(folder, "restrict \"" + control + "\"");
    std::printf("SetDefaultDllDirectories %s\n", (code & 4) ? "available" : "missing, current folder removed");
    EXPECT_EQ(code & 3, 2u);
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kFaultKey, "PlantedLoadedBy"), "<missing>");
}

TEST_F(FaultTest, TruncatedRecordWithBytesOutsideTheCodePage) {
    // An installation made by hand, with the uninstaller beside its record.
    std::string inst = m_dir + "inst 目录\\";
    ASSERT_TRUE(MakeFolders(inst + "子目录"));
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_UNINSTALL_EXE).c_str(), (inst + "Uninstall.exe").c_str(), FALSE));
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

    Uninstall(inst + "Uninstall.exe");
    if (HasFatalFailure()) return;
    // What the readable lines name is gone; the file the cut line named
    // only in part, and its folder, stay.
    EXPECT_FALSE(FileExists(inst + "a.txt"));
    EXPECT_FALSE(FileExists(inst + "d.txt"));
    EXPECT_FALSE(FileExists(inst + "子目录\\b.txt"));
    EXPECT_FALSE(FileExists(inst + "Uninstall.log"));
    EXPECT_TRUE(FileExists(inst + "子目录\\c.txt"));
}

TEST_F(FaultTest, CancelOnTheCopyPageAtRandomMoments) {
    const int kRounds = 10;
    const int kExtraFiles = 1200;
    unsigned seed = static_cast<unsigned>(::GetTickCount());
    char fixed[32] = {0};
    if (::GetEnvironmentVariableA("QUILM_FAULT_SEED", fixed, sizeof(fixed)) > 0)
        seed = static_cast<unsigned>(std::strtoul(fixed, NULL, 10));
    std::printf("cancel moments: seed %u (QUILM_FAULT_SEED=%u repeats them)\n", seed, seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 4500);
    BuildMedium(kExtraFiles);
    int cancelled = 0, completed = 0;
    for (int round = 0; round < kRounds && !HasFatalFailure(); ++round) {
        int wait = delay(random);
        PROCESS_INFORMATION& setup = Launch(m_medium + "Setup.exe");
        ASSERT_NE(StartCopy(setup, m_dest), nullptr);
        HWND copy = Page(setup, kCopy);
        ASSERT_NE(copy, nullptr);
        ::Sleep(wait);
        Click(copy, IDCANCEL);
        // The question, unless the copy ended first and the finish page came.
        bool sawQuestion = false, sawFinish = false;
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < kJobWait && !WaitProcessEnd(setup.hProcess, 0)) {
            HWND box = WaitMessageBox(setup.dwProcessId, 0);
            if (box && MessageBoxText(box).find("真要退出安装程序吗") != std::string::npos) {
                sawQuestion = true;
                AnswerMessageBox(box, IDYES);
            } else if (box) {
                ADD_FAILURE() << "unexpected box: " << MessageBoxText(box);
                AnswerMessageBox(box, IDCANCEL);
            }
            HWND finish = FindTopWindow(kWizardTitle, "#32770", setup.dwProcessId, kFinish);
            if (finish) {
                sawFinish = true;
                Click(finish, 1001);
            }
            ::Sleep(20);
        }
        ExpectCleanEnd(setup, 0);
        int copied = testkit::CountFilesBelow(m_dest);
        std::printf("round %d: cancel after %d ms: %s, %d files in the destination\n", round + 1, wait,
                    sawFinish ? "the copy had ended (finish page)" : sawQuestion ? "cancelled" : "?", copied);
        if (sawFinish) {
            ++completed;
            EXPECT_TRUE(FileExists(m_dest + "Uninstall.log"));
        } else {
            ++cancelled;
            EXPECT_TRUE(sawQuestion);
            EXPECT_FALSE(PathExists(m_dest + "Uninstall.log"));
            EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, testkit::kProductKey, "installPath"), "<missing>");
        }
        // Nothing is written after the program has ended.
        ::Sleep(200);
        EXPECT_EQ(testkit::CountFilesBelow(m_dest), copied);
        testkit::RemoveInstallation(m_dest);
        ASSERT_FALSE(FolderExists(m_dest));
    }
    std::printf("%d rounds cancelled, %d completed before the cancel\n", cancelled, completed);
}
