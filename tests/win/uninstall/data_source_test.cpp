// Removing the package's ODBC data source reaches the driver's setup
// library with the exact attribute list, through the system's ODBC
// installer and a test driver registered under the Access driver's name.
#include <gtest/gtest.h>

#include "uninstall/UninstallMessages.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const char* const kDriverKey = "Software\\ODBC\\ODBCINST.INI\\Microsoft Access Driver (*.mdb)";
const char* const kOdbcMarks = "Software\\QuilmTest\\Odbc";

// The list as the ODBC installer must receive it, written out here on its
// own: six pairs, each ended by a zero, then the empty pair.
std::string ExpectedAttributes(const std::string& installDir) {
    std::string list = "DSN=Quilm";
    list += '\0';
    list += "Corvantix=土地整理Quilm";
    list += '\0';
    list += "DBQ=" + installDir + "Database\\Quilm.mdb";
    list += '\0';
    list += "FIL=MS Access";
    list += '\0';
    list += "UID=Corvantix";
    list += '\0';
    list += "PWD=Wendabrix52081736409";
    list += '\0';
    list += '\0';
    return list;
}

}  // namespace

class DataSourceTest : public UninstallTest {
protected:
    void SetUp() override {
        UninstallTest::SetUp();
        if (HasFatalFailure()) return;
        m_guards->Guard(kMachineOwnView, kDriverKey);
        std::string dll = HostToWine(QUILM_ODBC_FIXTURE);
        ASSERT_TRUE(SetValue(kMachineOwnView, kDriverKey, "Driver", dll));
        ASSERT_TRUE(SetValue(kMachineOwnView, kDriverKey, "Setup", dll));
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kOdbcMarks);
    }

    // Runs the job on an empty record and returns what the driver got.
    void RunEmptyJob() {
        OwnerWindow owner;
        UninstallJob job;
        ASSERT_TRUE(WriteBytes(m_dir + "Uninstall.log", ""));
        ASSERT_TRUE(job.LoadRecord((m_dir + "Uninstall.log").c_str()));
        RunJob(job, owner);
        EXPECT_EQ(owner.Count(WM_UNINSTALL_DONE), 1);
    }
};

TEST_F(DataSourceTest, RemovalReachesDriverWithExactAttributes) {
    EXPECT_TRUE(CUninstallThread::RemoveDataSource("D:\\Quilm 安装\\"));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Calls"), "1");
    // The installer hands a system data source removal to the driver as
    // ODBC_REMOVE_DSN (3), with the system mode set.
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Request"), "3");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Driver"), "Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Attributes"),
              Hex(ExpectedAttributes("D:\\Quilm 安装\\")));
}

TEST_F(DataSourceTest, JobUsesInstallPathOfV9Key) {
    // Without a trailing "\" in the value; the job adds it.
    ASSERT_TRUE(
        SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\Program Files\\Corvantix\\Quilm"));
    RunEmptyJob();
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Calls"), "1");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Attributes"),
              Hex(ExpectedAttributes("C:\\Program Files\\Corvantix\\Quilm\\")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
}

TEST_F(DataSourceTest, InstallPathEndingInDoubleByteCharacterStillGetsSeparator) {
    // "誠" is D5 5C: its trail byte is "\", but the path does not end in one.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\Quilm\xD5\x5C"));
    RunEmptyJob();
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Attributes"),
              Hex(ExpectedAttributes("C:\\Quilm\xD5\x5C\\")));
}

TEST_F(DataSourceTest, JobWithoutInstallPathStillRemovesDataSource) {
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kV9Key, KEY_WOW64_32KEY, 0);
    RunEmptyJob();
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Calls"), "1");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kOdbcMarks, "Attributes"), Hex(ExpectedAttributes("\\")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
}
