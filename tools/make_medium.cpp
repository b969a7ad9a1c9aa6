// Generates a demo distribution medium: the nine package folders with
// nested subfolders, an empty subfolder, files with Chinese names and the
// root files.  All content is synthetic filler, not the real package.
//
// usage: make_medium DIR [--files N] [--folders N] [--bytes N]
//   --files    number of package files spread over the nine trees
//   --folders  number of extra subfolders spread over the nine trees
//   --bytes    total bytes of those files (about)
// Host file names are UTF-8; Wine shows them to the programs in code
// page 936.  The folders and files are made with the tests' medium
// builder (tests/win/support/MediumBuilder.h).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/MediumBuilder.h"

namespace {

const char* const kFolders[9] = {"Support", "Control", "Database", "线型库", "填充图案",
                                 "图框",    "图例",    "图库",     "Temp"};

unsigned long long g_seed = 88172645463325252ull;
unsigned Next() {
    g_seed ^= g_seed << 13;
    g_seed ^= g_seed >> 7;
    g_seed ^= g_seed << 17;
    return static_cast<unsigned>(g_seed);
}

// head, then random letters up to size bytes.
std::string Filler(size_t size, const std::string& head) {
    std::string data = head;
    while (data.size() < size) data += static_cast<char>('a' + Next() % 26);
    data.resize(std::max(size, head.size()));
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s DIR [--files N] [--folders N] [--bytes N]\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    size_t files = 40, folders = 12, bytes = 200000;
    for (int i = 2; i + 1 < argc; i += 2) {
        size_t v = strtoull(argv[i + 1], nullptr, 10);
        if (!strcmp(argv[i], "--files")) files = v;
        else if (!strcmp(argv[i], "--folders")) folders = v;
        else if (!strcmp(argv[i], "--bytes")) bytes = v;
    }
    quilmtest::MediumBuilder medium(root);
    if (!medium.ok()) {
        perror(root.c_str());
        return 1;
    }

    // Fixed structure every medium has.
    std::vector<std::string> dirs(std::begin(kFolders), std::end(kFolders));
    const char* fixed[] = {"Support/2000-02/arx",  "Support/2004-06/Menu", "Support/2007-09/Menu",
                           "Support/2010-12/Menu", "图库/道路/桥涵",       "Temp/空文件夹"};
    for (const std::string& d : dirs) medium.Folder(d);
    for (const char* d : fixed) medium.Folder(d);
    // Extra subfolders, one level below a package folder or nested.
    std::vector<std::string> fileDirs(dirs.begin(), dirs.end());
    for (const char* d : fixed)
        if (strcmp(d, "Temp/空文件夹") != 0) fileDirs.push_back(d);
    for (size_t i = 0; i < folders; ++i) {
        std::string parent = fileDirs[Next() % fileDirs.size()];
        char name[64];
        snprintf(name, sizeof(name), (i % 3 == 0) ? "分组%03zu" : "sub%03zu", i);
        std::string d = parent + "/" + name;
        if (medium.Folder(d)) fileDirs.push_back(d);
    }

    size_t each = files ? bytes / files : 0;
    for (size_t i = 0; i < files; ++i) {
        const std::string& dir = fileDirs[i % fileDirs.size()];
        char name[64];
        snprintf(name, sizeof(name), (i % 4 == 0) ? "图例说明%04zu.txt" : "data%04zu.dat", i);
        size_t size = each / 2 + (each ? Next() % (each + 1) : 0);
        if (!medium.File(dir + "/" + name, Filler(size, "synthetic demo content\n"))) {
            perror(name);
            return 1;
        }
    }

    // Root files that the installer and the shortcuts name.
    medium.File("Quilm.exe", Filler(4096, "MZ synthetic stand-in for the package program\n"));
    medium.File("QuilmV8.5.ico", Filler(766, "synthetic icon\n"));
    medium.File(
        "readme.txt",
        Filler(0, "土地整理规划设计软件 Quilm V8.5 演示介质\r\n此介质内容为合成数据。\r\n"));
    medium.File("Quilm.url", Filler(0, "[InternetShortcut]\r\nURL=http://localhost/\r\n"));
    medium.File("QuilmHelp.chm", Filler(2048, "synthetic help\n"));
    medium.File("Database/Quilm.mdb", Filler(8192, "synthetic database\n"));
    printf("%s: %zu files in %zu extra folders\n", root.c_str(), files, folders);
    return 0;
}
