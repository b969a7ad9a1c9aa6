// Finding installed AutoCAD releases from registry fixtures.
#include <gtest/gtest.h>

#include "host/HostRegistry.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

class Detection : public ::testing::Test {
protected:
    void SetUp() override { GuardAutoCadKeys(m_guard); }
    // The folder found for release, or "not found" (with the folder when
    // one was left behind).
    std::string Found(const char* release) {
        CString folder("stale");
        if (FindHostRelease(Release(release), folder.str())) return folder.str();
        return folder.IsEmpty() ? "not found" : "not found, but " + folder.str();
    }
    KeyGuard m_guard;
    SetupJob m_job;
};

}  // namespace

TEST_F(Detection, NoAutoCadAtAll) {
    for (const HostRelease& r : kHostReleases) {
        CString folder("stale");
        EXPECT_FALSE(FindHostRelease(r, folder.str())) << r.releaseKey;
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
    EXPECT_EQ("D:\\Program Files\\AutoCAD 2007\\", Found("R17.0"));
}

TEST_F(Detection, R16_0CurVerOnlyInTheMachineStore) {
    SetCurVer(HKEY_LOCAL_MACHINE, "R16.0", "ACAD-201:409");
    SetAcadValue("R16.0", "ACAD-201:409", "AcadLocation", "D:\\ACAD2004");
    SetAcadValue("R16.0", "ACAD-201:804", "AcadLocation", "D:\\Default");
    EXPECT_EQ("D:\\ACAD2004\\", Found("R16.0"));
    // The user store comes first.
    SetCurVer(HKEY_CURRENT_USER, "R16.0", "ACAD-201:804");
    EXPECT_EQ("D:\\Default\\", Found("R16.0"));
}

TEST_F(Detection, R17CurVerOnlyInTheMachineStoreIsNotLookedAt) {
    for (const char* r : {"R16.1", "R16.2", "R17.0", "R17.1", "R17.2", "R18.0", "R18.1", "R18.2"}) {
        SetCurVer(HKEY_LOCAL_MACHINE, r, "ACAD-X:409");
        SetAcadValue(r, "ACAD-X:409", "AcadLocation", "D:\\Machine");
        EXPECT_EQ("not found", Found(r)) << r;
    }
    // With a location under the default product key the release counts.
    SetAcadValue("R17.1", "ACAD-6001:804", "AcadLocation", "D:\\Default2008\\");
    EXPECT_EQ("D:\\Default2008\\", Found("R17.1"));  // already ends with "\": unchanged
}

TEST_F(Detection, CurVerNamingAnotherLanguageIsUsedUnchanged) {
    SetCurVer(HKEY_CURRENT_USER, "R18.0", "ACAD-8001:409");
    SetAcadValue("R18.0", "ACAD-8001:804", "AcadLocation", "D:\\Chinese");
    EXPECT_EQ("not found", Found("R18.0"));
    SetAcadValue("R18.0", "ACAD-8001:409", "AcadLocation", "D:\\English");
    EXPECT_EQ("D:\\English\\", Found("R18.0"));
}

TEST_F(Detection, R18_1FallsBackToLocation) {
    SetAcadValue("R18.1", "ACAD-9001:804", "AcadLocation", "");
    SetAcadValue("R18.1", "ACAD-9001:804", "Location", "D:\\CAD\\2011");
    EXPECT_EQ("D:\\CAD\\2011\\", Found("R18.1"));
    // Without any AcadLocation value too.
    DeleteValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\ACAD-9001:804",
                "AcadLocation");
    EXPECT_EQ("D:\\CAD\\2011\\", Found("R18.1"));
    // AcadLocation wins when it has a folder.
    SetAcadValue("R18.1", "ACAD-9001:804", "AcadLocation", "E:\\Acad");
    EXPECT_EQ("E:\\Acad\\", Found("R18.1"));
}

TEST_F(Detection, R17_2HasNoLocationFallback) {
    SetAcadValue("R17.2", "ACAD-7001:804", "AcadLocation", "");
    SetAcadValue("R17.2", "ACAD-7001:804", "Location", "D:\\CAD\\2009");
    EXPECT_EQ("not found", Found("R17.2"));
}

TEST_F(Detection, EmptyCurVerIsTakenAsTheProductKey) {
    SetCurVer(HKEY_CURRENT_USER, "R17.0", "");
    SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", "D:\\Default");
    EXPECT_EQ("not found", Found("R17.0"));
    // The location key is the release key with a trailing "\".
    SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0", "AcadLocation",
             "D:\\OddPlace");
    EXPECT_EQ("D:\\OddPlace\\", Found("R17.0"));
}

TEST_F(Detection, R15_0NeedsCurVer) {
    SetAcadValue("R15.0", "ACAD-1:804", "AcadLocation", "D:\\ACAD2002");
    EXPECT_EQ("not found", Found("R15.0"));
    // No location was probed: the only product key below R15.0 is ours.
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R15.0",
                                           0, KEY_READ, &h));
    DWORD subkeys = 0;
    RegQueryInfoKeyA(h, NULL, NULL, NULL, &subkeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    RegCloseKey(h);
    EXPECT_EQ(1u, subkeys);
    SetCurVer(HKEY_CURRENT_USER, "R15.0", "ACAD-1:804");  // machine, then user
    EXPECT_EQ("D:\\ACAD2002\\", Found("R15.0"));
    SetCurVer(HKEY_LOCAL_MACHINE, "R15.0", "ACAD-2:804");  // the machine store comes first
    EXPECT_EQ("not found", Found("R15.0"));
}

TEST_F(Detection, OverlongLocationCountsAsAbsent) {
    SetAcadValue("R18.2", "ACAD-A001:804", "AcadLocation", "D:\\" + std::string(3000, 'a'));
    EXPECT_EQ("not found", Found("R18.2"));
    SetAcadValue("R18.2", "ACAD-A001:804", "Location", "D:\\Short");
    EXPECT_EQ("D:\\Short\\", Found("R18.2"));
}
