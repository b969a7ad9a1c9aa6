// Each program's version resource read back as Explorer's Properties,
// AppLocker rules and deployment tools read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

struct Expected {
    DWORD versionMS;  // major in the high word, minor in the low word
    const char* versionText;
    const char* productName;
    const char* description;
    const char* fileName;
};

std::string Text(const std::vector<char>& data, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\080404b0\\") + name;
    if (!::VerQueryValueA(data.data(), query.c_str(), &value, &length) || !value)
        return "(missing)";
    return static_cast<const char*>(value);
}

void ExpectVersionResource(const char* hostPath, const Expected& expected) {
    const std::string path = quilmtest::HostToWine(hostPath);
    DWORD ignored = 0;
    std::vector<char> data(::GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(data.empty()) << path;
    ASSERT_TRUE(
        ::GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(expected.versionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(expected.versionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(1u, fixed->dwFileType);  // an application

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0804, translation[0]);  // Simplified Chinese
    EXPECT_EQ(1200, translation[1]);    // UTF-16

    EXPECT_EQ("Corvantix有限公司", Text(data, "CompanyName"));
    EXPECT_EQ(expected.productName, Text(data, "ProductName"));
    EXPECT_EQ(expected.description, Text(data, "FileDescription"));
    EXPECT_EQ(expected.versionText, Text(data, "FileVersion"));
    EXPECT_EQ(expected.versionText, Text(data, "ProductVersion"));
    EXPECT_EQ(expected.fileName, Text(data, "OriginalFilename"));
}

TEST(VersionResource, SetupIsTheInstallerOfEdition85) {
    ExpectVersionResource(QUILM_SETUP_EXE,
                          {0x00080005, "8.5.0.0", "土地整理规划设计软件 Quilm V8.5",
                           "Quilm V8.5 安装向导", "Setup.exe"});
}

TEST(VersionResource, UninstallIsTheUninstallerOfEdition90) {
    ExpectVersionResource(QUILM_UNINSTALL_EXE,
                          {0x00090000, "9.0.0.0", "土地整理规划设计软件 Quilm V9.0",
                           "Quilm V9.0 卸载", "Uninstall.exe"});
}

TEST(VersionResource, QuilmUserIsThePerUserPartOfEdition85) {
    ExpectVersionResource(QUILM_USER_EXE, {0x00080005, "8.5.0.0", "土地整理规划设计软件 Quilm V8.5",
                                           "Quilm V8.5 用户配置", "QuilmUser.exe"});
}

}  // namespace
