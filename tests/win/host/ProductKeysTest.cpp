// The product key and the Add/Remove Programs entry.
#include <gtest/gtest.h>

#include "HostTestSupport.h"

using namespace hosttest;

namespace {

const char kProduct[] = "SOFTWARE\\Corvantix\\Quilm\\V8";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8";

class ProductKeys : public ::testing::Test {
protected:
    void SetUp() override {
        m_guard.Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
        m_guard.Guard(HKEY_LOCAL_MACHINE, kUninstall);
        GuardAutoCadKeys(m_guard);
    }
    std::string Machine(const char* key, const char* value) {
        std::string text;
        EXPECT_TRUE(GetValue(HKEY_LOCAL_MACHINE, key, value, text)) << key << " " << value;
        return text;
    }
    KeyGuard m_guard;
    TestJob m_job;
};

}  // namespace

TEST_F(ProductKeys, ValuesAndRecordEntries) {
    m_job.m_strDestDir = "C:\\Quilm\\";
    m_job.WriteProductKeys();
    EXPECT_EQ("C:\\Quilm\\", Machine(kProduct, "installPath"));
    EXPECT_EQ("8.00", Machine(kProduct, "Ver"));
    EXPECT_EQ("原始标高", Machine(kProduct, "OriginLayer"));
    EXPECT_EQ("设计标高", Machine(kProduct, "DesignLayer"));
    EXPECT_EQ("原始等高线", Machine(kProduct, "OriginContourLayer"));
    EXPECT_EQ("设计等高线", Machine(kProduct, "DesignContourLayer"));
    EXPECT_EQ("土地整理规划设计软件 Quilm V8.5", Machine(kUninstall, "DisplayName"));
    EXPECT_EQ("C:\\Quilm\\Uninstall.exe", Machine(kUninstall, "UninstallString"));
    EXPECT_EQ(
        (std::vector<std::string>{
            "RegDB Key: 2,SOFTWARE\\Corvantix\\Quilm\\V8",
            "RegDB Key: 2,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quilm V8"}),
        CrLfLines(m_job.m_strRecord.str()));
}

TEST_F(ProductKeys, UninstallStringIsQuotedWhenThePathHasBlanks) {
    m_job.m_strDestDir = "D:\\Program Files\\Quilm\\";
    m_job.WriteProductKeys();
    EXPECT_EQ("\"D:\\Program Files\\Quilm\\Uninstall.exe\"",
              Machine(kUninstall, "UninstallString"));
    // installPath stays the plain folder: the programs read it as a path.
    EXPECT_EQ("D:\\Program Files\\Quilm\\", Machine(kProduct, "installPath"));
}

TEST_F(ProductKeys, RecordEntriesDoNotDependOnTheWrites) {
    // A folder text far longer than any path still goes through whole.
    std::string dest = "C:\\" + std::string(3000, 'q') + "\\";
    m_job.m_strDestDir = dest.c_str();
    m_job.WriteProductKeys();
    EXPECT_EQ(dest, Machine(kProduct, "installPath"));
    EXPECT_EQ(2u, CrLfLines(m_job.m_strRecord.str()).size());
}

TEST_F(ProductKeys, NoAutoCadMeansNoProfile) {
    m_job.m_strDestDir = "C:\\Quilm\\";
    m_job.WriteProductKeys();
    for (const HostRelease& r : kHostReleases) {
        std::string product = r.defaultProductKey ? r.defaultProductKey : "";
        EXPECT_FALSE(
            KeyExists(HKEY_CURRENT_USER, ProfileKey(r.releaseKey, product, "<<Quilm V8>>")))
            << r.releaseKey;
    }
}
