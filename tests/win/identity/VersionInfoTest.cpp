// Each program's version resource, as Explorer and deployment tools read it back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"

TEST(VersionResource, NamesEachProgramInSimplifiedChinese) {
    const struct {
        const char* path;
        DWORD fixed;  // file and product version: major, minor
        const char *version, *product, *description;
    } programs[] = {{QUILM_SETUP_EXE, 0x80005, "8.5.0.0", "土地整理规划设计软件 Quilm V8.5",
                     "Quilm V8.5 安装向导"},
                    {QUILM_UNINSTALL_EXE, 0x90000, "9.0.0.0", "土地整理规划设计软件 Quilm V9.0",
                     "Quilm V9.0 卸载"},
                    {QUILM_USER_EXE, 0x80005, "8.5.0.0", "土地整理规划设计软件 Quilm V8.5",
                     "Quilm V8.5 用户配置"}};
    for (const auto& p : programs) {
        const std::string path = quilmtest::HostToWine(p.path);
        std::string data(::GetFileVersionInfoSizeA(path.c_str(), nullptr) + 1, '\0');
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, DWORD(data.size()), &data[0])) << path;
        void* found = nullptr;
        UINT size = 0;
        auto text = [&](const char* name) -> std::string {
            const std::string query = std::string("\\StringFileInfo\\080404b0\\") + name;
            if (!::VerQueryValueA(data.data(), query.c_str(), &found, &size)) return "(none)";
            return static_cast<const char*>(found);
        };
        ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", &found, &size)) << path;
        EXPECT_EQ(p.fixed, static_cast<VS_FIXEDFILEINFO*>(found)->dwFileVersionMS) << path;
        EXPECT_EQ(p.fixed, static_cast<VS_FIXEDFILEINFO*>(found)->dwProductVersionMS) << path;
        EXPECT_EQ("Corvantix有限公司", text("CompanyName")) << path;
        EXPECT_EQ(p.product, text("ProductName"));
        EXPECT_EQ(p.description, text("FileDescription"));
        EXPECT_EQ(p.version, text("FileVersion")) << path;
        EXPECT_EQ(p.version, text("ProductVersion")) << path;
    }
}
