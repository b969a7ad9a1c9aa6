// The product key and the Add/Remove Programs entry.
#include <gtest/gtest.h>

#include "common/product_v8.h"
#include "common/product_v9.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

class ProductKeys : public ::testing::Test {
protected:
    void SetUp() override {
        m_guard.Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
        m_guard.Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
        GuardAutoCadKeys(m_guard);
    }
    std::string Machine(const char* key, const char* value) {
        std::string text;
        EXPECT_TRUE(GetValue(HKEY_LOCAL_MACHINE, key, value, text)) << key << " " << value;
        return text;
    }
    KeyGuard m_guard;
    SetupJob m_job;
};

}  // namespace

// Both programs and the tests name the installation through the product's
// facts; they must be what the tests spell out.
TEST(ProductFacts, AreTheNamesTheOutsideWorldSees) {
    EXPECT_STREQ(kProductKey, v8::kProductKey);
    EXPECT_STREQ(kUninstallKey, v8::kUninstallKey);
    EXPECT_STREQ(kDisplayName, v8::kDisplayName);
    EXPECT_STREQ(kProfileName, v8::kProfileName);
    EXPECT_STREQ(kV9Key, v9::kProductKey);
    EXPECT_STREQ(kV9ProfileName, v9::kProfileName);
    EXPECT_STREQ("installPath", kInstallPathValue);
    EXPECT_EQ("Quilmfor2010.LNK", v8::HostShortcutName(2010));
    EXPECT_EQ("/p \"<<Quilm V8>>\" /t acad.dwt", v8::HostShortcutArguments());
    EXPECT_EQ("D:\\Q\\QuilmV8.5.ICO", v8::ShortcutIconPath("D:\\Q\\"));
}

TEST_F(ProductKeys, ValuesAndRecordEntries) {
    m_job.m_strDestDir = "C:\\Quilm\\";
    m_job.WriteProductKeys();
    EXPECT_EQ("C:\\Quilm\\", Machine(kProductKey, "installPath"));
    EXPECT_EQ("8.00", Machine(kProductKey, "Ver"));
    EXPECT_EQ("原始标高", Machine(kProductKey, "OriginLayer"));
    EXPECT_EQ("设计标高", Machine(kProductKey, "DesignLayer"));
    EXPECT_EQ("原始等高线", Machine(kProductKey, "OriginContourLayer"));
    EXPECT_EQ("设计等高线", Machine(kProductKey, "DesignContourLayer"));
    EXPECT_EQ("土地整理规划设计软件 Quilm V8.5", Machine(kUninstallKey, "DisplayName"));
    EXPECT_EQ("C:\\Quilm\\Uninstall.exe", Machine(kUninstallKey, "UninstallString"));
    EXPECT_EQ((std::vector<std::string>{std::string("RegDB Key: 2,") + kProductKey,
                                        std::string("RegDB Key: 2,") + kUninstallKey}),
              CrLfLines(m_job.m_strRecord.str()));
}

TEST_F(ProductKeys, UninstallStringIsQuotedWhenThePathHasBlanks) {
    m_job.m_strDestDir = "D:\\Program Files\\Quilm\\";
    m_job.WriteProductKeys();
    EXPECT_EQ("\"D:\\Program Files\\Quilm\\Uninstall.exe\"",
              Machine(kUninstallKey, "UninstallString"));
    // installPath stays the plain folder: the programs read it as a path.
    EXPECT_EQ("D:\\Program Files\\Quilm\\", Machine(kProductKey, "installPath"));
}

TEST_F(ProductKeys, RecordEntriesDoNotDependOnTheWrites) {
    // A folder text far longer than any path still goes through whole.
    std::string dest = "C:\\" + std::string(3000, 'q') + "\\";
    m_job.m_strDestDir = dest.c_str();
    m_job.WriteProductKeys();
    EXPECT_EQ(dest, Machine(kProductKey, "installPath"));
    EXPECT_EQ(2u, CrLfLines(m_job.m_strRecord.str()).size());
}

TEST_F(ProductKeys, NoAutoCadMeansNoProfile) {
    m_job.m_strDestDir = "C:\\Quilm\\";
    m_job.WriteProductKeys();
    for (const HostRelease& r : kHostReleases) {
        std::string product = r.defaultProductKey ? r.defaultProductKey : "";
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey(r.releaseKey, product, kProfileName)))
            << r.releaseKey;
    }
}
