// The four registry string operations against the real registry.
#include <gtest/gtest.h>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"
#include "framework/AfxRegistry.h"

using namespace quilmtest;

namespace {

const char kKey[] = "Software\\QuilmTest\\Strings";

class RegistryStrings : public ::testing::Test {
protected:
    void SetUp() override {
        m_guard.Guard(HKEY_CURRENT_USER, "Software\\QuilmTest");
        m_guard.Guard(HKEY_LOCAL_MACHINE, "Software\\QuilmTest");
    }
    KeyGuard m_guard;
};

}  // namespace

TEST_F(RegistryStrings, ValueOf2047BytesRoundTripsInBothStores) {
    std::string text;
    for (int i = 0; text.size() < 2047; ++i) text += static_cast<char>('A' + i % 26);
    text.replace(100, 2, "标");  // a double-byte character inside
    ASSERT_EQ(2047u, text.size());
    ASSERT_TRUE(SetUserString(kKey, "v", text.c_str()));
    ASSERT_TRUE(SetMachineString(kRegView32, kKey, "v", text.c_str()));
    CString back;
    ASSERT_TRUE(GetUserString(kKey, "v", back));
    EXPECT_EQ(text, back.str());
    ASSERT_TRUE(GetMachineString(kRegView32, kKey, "v", back));
    EXPECT_EQ(text, back.str());
    // Stored as REG_SZ with its terminating zero.
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &h));
    DWORD type = 0, size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(h, "v", NULL, &type, NULL, &size));
    RegCloseKey(h);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(2048u, size);
}

TEST_F(RegistryStrings, LongerTextIsWrittenWholeButNotReadThroughTheBuffer) {
    std::string text(5000, 'x');
    text += "end";
    ASSERT_TRUE(SetUserString(kKey, "long", text.c_str()));
    std::string stored;
    ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kKey, "long", stored));
    EXPECT_EQ(text, stored);
    CString back("left over");
    EXPECT_FALSE(GetUserString(kKey, "long", back));
    EXPECT_TRUE(back.IsEmpty());
    // 2048 bytes plus the zero no longer fit either.
    ASSERT_TRUE(SetUserString(kKey, "2048", std::string(2048, 'y').c_str()));
    EXPECT_FALSE(GetUserString(kKey, "2048", back));
}

TEST_F(RegistryStrings, QueryOfMissingKeyCreatesItEmpty) {
    std::string key = std::string(kKey) + "\\Missing\\Deeper";
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    CString text("stale");
    EXPECT_FALSE(GetMachineString(kRegView32, key.c_str(), "CurVer", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key));
}

TEST_F(RegistryStrings, TypeIsNotExaminedAndDefaultValueIsAddressedByEmptyName) {
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, kKey, &h));
    const char expand[] = "%TEMP%\\x";
    RegSetValueExA(h, "exp", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                   sizeof(expand));
    RegCloseKey(h);
    CString text;
    ASSERT_TRUE(GetUserString(kKey, "exp", text));
    EXPECT_EQ(CString(expand), text);
    ASSERT_TRUE(SetUserString(kKey, "", kProfileName));
    std::string stored;
    ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kKey, "", stored));
    EXPECT_EQ(kProfileName, stored);
    ASSERT_TRUE(GetUserString(kKey, "", text));
    EXPECT_EQ(CString(kProfileName), text);
}
