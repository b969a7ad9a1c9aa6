// Finding installed AutoCAD releases from registry fixtures.
#include <gtest/gtest.h>

#include "HostTestSupport.h"

using namespace hosttest;

namespace {

class Detection : public ::testing::Test {
protected:
    void SetUp() override { GuardAutoCadKeys(m_guard); }
    bool Find(const char* release, std::string& folder) {
        CString text("stale");
        BOOL found = m_job.FindHostRelease(Release(release), text);
        folder = text.str();
        return found != FALSE;
    }
    KeyGuard m_guard;
    TestJob m_job;
};

}  // namespace

TEST_F(Detection, NoAutoCadAtAll) {
    for (const HostRelease& r : kHostReleases) {
        CString folder("stale");
        EXPECT_FALSE(m_job.FindHostRelease(r, folder)) << r.releaseKey;
        EXPECT_TRUE(folder.IsEmpty()) << r.releaseKey;
    }
    // Probing leaves the keys it opened, empty.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R15.0"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                           "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804"
                           "\\Profiles"));
}

TEST_F(Detection, DefaultProductKeyWithLocation) {
    SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", "D:\\Program Files\\AutoCAD 2007");
    std::string folder;
    EXPECT_TRUE(Find("R17.0", folder));
    EXPECT_EQ("D:\\Program Files\\AutoCAD 2007\\", folder);
}

TEST_F(Detection, R16_0CurVerOnlyInTheMachineStore) {
    SetCurVer(HKEY_LOCAL_MACHINE, "R16.0", "ACAD-201:409");
    SetAcadValue("R16.0", "ACAD-201:409", "AcadLocation", "D:\\ACAD2004");
    SetAcadValue("R16.0", "ACAD-201:804", "AcadLocation", "D:\\Default");
    std::string folder;
    EXPECT_TRUE(Find("R16.0", folder));
    EXPECT_EQ("D:\\ACAD2004\\", folder);
    // The user store comes first.
    SetCurVer(HKEY_CURRENT_USER, "R16.0", "ACAD-201:804");
    EXPECT_TRUE(Find("R16.0", folder));
    EXPECT_EQ("D:\\Default\\", folder);
}

TEST_F(Detection, R17CurVerOnlyInTheMachineStoreIsNotLookedAt) {
    for (const char* r : {"R16.1", "R16.2", "R17.0", "R17.1", "R17.2", "R18.0", "R18.1", "R18.2"}) {
        SetCurVer(HKEY_LOCAL_MACHINE, r, "ACAD-X:409");
        SetAcadValue(r, "ACAD-X:409", "AcadLocation", "D:\\Machine");
        std::string folder;
        EXPECT_FALSE(Find(r, folder)) << r;
        EXPECT_EQ("", folder) << r;
    }
    // With a location under the default product key the release counts.
    SetAcadValue("R17.1", "ACAD-6001:804", "AcadLocation", "D:\\Default2008\\");
    std::string folder;
    EXPECT_TRUE(Find("R17.1", folder));
    EXPECT_EQ("D:\\Default2008\\", folder);  // already ends with "\": unchanged
}

TEST_F(Detection, CurVerNamingAnotherLanguageIsUsedUnchanged) {
    SetCurVer(HKEY_CURRENT_USER, "R18.0", "ACAD-8001:409");
    SetAcadValue("R18.0", "ACAD-8001:804", "AcadLocation", "D:\\Chinese");
    std::string folder;
    EXPECT_FALSE(Find("R18.0", folder));
    SetAcadValue("R18.0", "ACAD-8001:409", "AcadLocation", "D:\\English");
    EXPECT_TRUE(Find("R18.0", folder));
    EXPECT_EQ("D:\\English\\", folder);
}

TEST_F(Detection, R18_1FallsBackToLocation) {
    SetAcadValue("R18.1", "ACAD-9001:804", "AcadLocation", "");
    SetAcadValue("R18.1", "ACAD-9001:804", "Location", "D:\\CAD\\2011");
    std::string folder;
    EXPECT_TRUE(Find("R18.1", folder));
    EXPECT_EQ("D:\\CAD\\2011\\", folder);
    // Without any AcadLocation value too.
    DeleteValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\ACAD-9001:804",
                "AcadLocation");
    EXPECT_TRUE(Find("R18.1", folder));
    EXPECT_EQ("D:\\CAD\\2011\\", folder);
    // AcadLocation wins when it has a folder.
    SetAcadValue("R18.1", "ACAD-9001:804", "AcadLocation", "E:\\Acad");
    EXPECT_TRUE(Find("R18.1", folder));
    EXPECT_EQ("E:\\Acad\\", folder);
}

TEST_F(Detection, R17_2HasNoLocationFallback) {
    SetAcadValue("R17.2", "ACAD-7001:804", "AcadLocation", "");
    SetAcadValue("R17.2", "ACAD-7001:804", "Location", "D:\\CAD\\2009");
    std::string folder;
    EXPECT_FALSE(Find("R17.2", folder));
    EXPECT_EQ("", folder);
}

TEST_F(Detection, EmptyCurVerIsTakenAsTheProductKey) {
    SetCurVer(HKEY_CURRENT_USER, "R17.0", "");
    SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", "D:\\Default");
    std::string folder;
    EXPECT_FALSE(Find("R17.0", folder));
    // The location key is the release key with a trailing "\".
    SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0", "AcadLocation",
             "D:\\OddPlace");
    EXPECT_TRUE(Find("R17.0", folder));
    EXPECT_EQ("D:\\OddPlace\\", folder);
}

TEST_F(Detection, R15_0NeedsCurVer) {
    SetAcadValue("R15.0", "ACAD-1:804", "AcadLocation", "D:\\ACAD2002");
    std::string folder;
    EXPECT_FALSE(Find("R15.0", folder));
    // No location was probed: the only product key below R15.0 is ours.
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R15.0",
                                           0, KEY_READ, &h));
    DWORD subkeys = 0;
    RegQueryInfoKeyA(h, NULL, NULL, NULL, &subkeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    RegCloseKey(h);
    EXPECT_EQ(1u, subkeys);
    SetCurVer(HKEY_CURRENT_USER, "R15.0", "ACAD-1:804");  // machine, then user
    EXPECT_TRUE(Find("R15.0", folder));
    EXPECT_EQ("D:\\ACAD2002\\", folder);
    SetCurVer(HKEY_LOCAL_MACHINE, "R15.0", "ACAD-2:804");  // the machine store comes first
    EXPECT_FALSE(Find("R15.0", folder));
}

TEST_F(Detection, OverlongLocationCountsAsAbsent) {
    SetAcadValue("R18.2", "ACAD-A001:804", "AcadLocation", "D:\\" + std::string(3000, 'a'));
    std::string folder;
    EXPECT_FALSE(Find("R18.2", folder));
    SetAcadValue("R18.2", "ACAD-A001:804", "Location", "D:\\Short");
    EXPECT_TRUE(Find("R18.2", folder));
    EXPECT_EQ("D:\\Short\\", folder);
}
