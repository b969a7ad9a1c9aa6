// A complete installation from the generated demo medium (nested folders,
// an empty folder, Chinese names): what the record holds is checked
// against a walk of the medium, and its order against the order of the
// work.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <map>
#include <memory>
#include <set>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"
#include "common/mbcs.h"

using namespace quilmtest;

namespace {

const char kMedium[] = "C:\\quilm_host_medium\\";
const char kFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Every file and folder below folder, as paths relative to base.
void Walk(const std::string& folder, const std::string& relative, std::set<std::string>& files,
          std::set<std::string>& folders) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string rel = relative + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folders.insert(rel);
            Walk(folder + "\\" + name, rel, files, folders);
        } else {
            files.insert(rel);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::string Parent(const std::string& path) {
    size_t cut = LastSeparatorOffset(path);
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

TEST(GeneratedMedium, FullInstallationRecord) {
    ASSERT_TRUE(FolderExists(kMedium)) << "no generated medium: the host_make_medium set-up failed";

    KeyGuard keys;
    GuardAutoCadKeys(keys);
    keys.Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
    keys.Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
    keys.Guard(HKEY_CURRENT_USER, "Software\\QuilmTest");
    ValueGuard desktopValue(HKEY_CURRENT_USER, kFolders, "Desktop");
    ValueGuard programsValue(HKEY_CURRENT_USER, kFolders, "Programs");
    TempDir root;
    std::string desktop = root.path() + "Desktop\\";
    std::string programs = root.path() + "Programs\\";
    CreateDirectoryA(desktop.c_str(), NULL);
    SetValue(HKEY_CURRENT_USER, kFolders, "Desktop", desktop);
    SetValue(HKEY_CURRENT_USER, kFolders, "Programs", programs);
    SetAcadValue("R18.1", "ACAD-9001:804", "Location", "D:\\CAD\\2011");
    std::string dest = root.path() + "安装 目录\\";

    OwnerWindow owner;
    Install(kMedium, dest, owner);
    EXPECT_EQ(1, owner.Count(WM_SETUP_DONE));
    EXPECT_EQ(0, owner.Count(WM_SETUP_FAILED));

    // What the medium holds under the nine folders, as destination paths.
    std::set<std::string> files, folders;
    for (const char* name : kPackageFolders) {
        std::set<std::string> f, d;
        Walk(std::string(kMedium) + name, name, f, d);
        for (const std::string& p : f) files.insert(dest + p);
        for (const std::string& p : d) folders.insert(dest + p);
    }
    EXPECT_EQ(static_cast<int>(files.size() + folders.size()), owner.Count(WM_SETUP_PROGRESS));
    for (const char* name : kPackageFolders) folders.insert(dest + name);

    std::vector<std::string> lines = RecordFileLines(dest + "Uninstall.log");
    ASSERT_GT(lines.size(), 20u);

    // The copy phase: every folder once as "Made Dir: ", every file once
    // as "File Copy: ", each after the entry of its own folder.
    std::set<std::string> madeDirs, copied;
    size_t at = 0;
    for (; at < lines.size(); ++at) {
        const std::string& line = lines[at];
        std::string path;
        if (line.compare(0, 10, "Made Dir: ") == 0) path = line.substr(10);
        else if (line.compare(0, 11, "File Copy: ") == 0) path = line.substr(11);
        else break;
        bool madeDir = line[0] == 'M';
        std::string parent = Parent(path);
        if (!madeDir && parent + "\\" == dest) break;  // a root file: the copy phase is over
        ASSERT_EQ(dest, path.substr(0, dest.size())) << line;
        if (parent + "\\" != dest) {
            EXPECT_TRUE(madeDirs.count(parent)) << "before its folder: " << line;
        }
        if (madeDir) {
            EXPECT_TRUE(madeDirs.insert(path).second) << line;
        } else {
            EXPECT_TRUE(copied.insert(path).second) << line;
        }
    }
    EXPECT_EQ(folders, madeDirs);
    EXPECT_EQ(files, copied);

    // The root files, except Setup.exe.
    std::set<std::string> rootFiles, expectedRoot;
    for (const std::string& name : FilesIn(kMedium))
        if (name != "Setup.exe") expectedRoot.insert("File Copy: " + dest + name);
    for (; at < lines.size() && lines[at].compare(0, 11, "File Copy: ") == 0; ++at)
        rootFiles.insert(lines[at]);
    EXPECT_EQ(expectedRoot, rootFiles);

    // Then the controls, the keys, the shortcuts and the record itself.
    std::vector<std::string> rest(lines.begin() + static_cast<long>(at), lines.end());
    const std::string menu = programs + "土地整理规划设计软件 Quilm V8.5";
    ASSERT_EQ(13u, rest.size());
    std::set<std::string> controls(rest.begin(), rest.begin() + 2);
    EXPECT_EQ((std::set<std::string>{"Reg Ctrl: " + dest + "Control\\QuilmMap.ocx",
                                     "Reg Ctrl: " + dest + "Control\\QuilmGrid.ocx"}),
              controls);
    EXPECT_EQ((std::vector<std::string>{
                  std::string("RegDB Key: 2,") + kProductKey,
                  std::string("RegDB Key: 2,") + kUninstallKey,
                  "Made Dir: " + menu,
                  "File Copy: " + desktop + "土地整理规划设计.LNK",
                  "File Copy: " + menu + "\\土地整理规划设计.LNK",
                  "File Copy: " + dest + "Quilmfor2011.LNK",
                  "File Copy: " + menu + "\\Corvantix网站.LNK",
                  "File Copy: " + menu + "\\Quilm V8.5 在线帮助.LNK",
                  "File Copy: " + menu + "\\Quilm V8.5 卸载程序.LNK",
                  "File Copy: " + menu,
              }),
              std::vector<std::string>(rest.begin() + 2, rest.end() - 1));
    EXPECT_EQ("File Copy: " + dest + "Uninstall.log", rest.back());

    std::string note;
    EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, kControlNotes, "QuilmMap.ocx", note));
    EXPECT_EQ("registered", note);
}
