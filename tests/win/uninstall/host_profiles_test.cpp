// Removing kV9ProfileName from the AutoCAD releases: the lookup orders of
// each release, the R15.0 fall-backs, the subkeys of a profile, and the
// profiles that must stay.
#include <gtest/gtest.h>

#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const std::string kAcad = "SOFTWARE\\Autodesk\\AutoCAD\\";

std::string Profile(const std::string& release, const std::string& product, const char* name) {
    return kAcad + release + "\\" + product + "\\Profiles\\" + name;
}

// A profile as Setup makes one: default value, "General" and, from R17.0
// on, "General Configuration".
void MakeProfile(const std::string& key, const char* name) {
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, key, "", name));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, key + "\\General", "ACAD", "C:\\Quilm\\Support"));
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, key + "\\General Configuration", "MenuFile", "C:\\m"));
}

const char* const kV9 = kV9ProfileName;

}  // namespace

class HostProfilesTest : public UninstallTest {
protected:
    void Remove() {
        CUninstallThread job;
        job.RemoveHostProfiles();
    }
};

TEST_F(HostProfilesTest, RemovesPackageProfileWithSubkeysAndLeavesOthers) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + "R18.2", "CurVer", "ACAD-A001:804"));
    std::string v9 = Profile("R18.2", "ACAD-A001:804", kV9);
    MakeProfile(v9, kV9);
    MakeProfile(Profile("R18.2", "ACAD-A001:804", kProfileName), kProfileName);
    MakeProfile(Profile("R18.2", "ACAD-A001:804", "<<Unnamed Profile>>"), "<<Unnamed Profile>>");
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\Q\\"));
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, v9 + "\\General"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, v9 + "\\General Configuration"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, v9));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER,
                          Profile("R18.2", "ACAD-A001:804", kProfileName) + "\\General"));
    EXPECT_TRUE(KeyExists(
        HKEY_CURRENT_USER,
        Profile("R18.2", "ACAD-A001:804", "<<Unnamed Profile>>") + "\\General Configuration"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
}

TEST_F(HostProfilesTest, EveryReleaseFromR161OnUsesMachineCurVer) {
    const char* releases[] = {"R16.1", "R16.2", "R17.0", "R17.1", "R17.2", "R18.0", "R18.1"};
    for (const char* r : releases) {
        ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + r, "CurVer", "ACAD-X:409"));
        MakeProfile(Profile(r, "ACAD-X:409", kV9), kV9);
    }
    Remove();
    for (const char* r : releases)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Profile(r, "ACAD-X:409", kV9))) << r;
}

TEST_F(HostProfilesTest, R17CurVerOnlyForUserRemovesNothing) {
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, kAcad + "R17.0", "CurVer", "ACAD-5001:804"));
    std::string v9 = Profile("R17.0", "ACAD-5001:804", kV9);
    MakeProfile(v9, kV9);
    Remove();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, v9 + "\\General"));
}

TEST_F(HostProfilesTest, R16UsesUserThenMachineThenDefault) {
    // Nowhere: the default product key.
    std::string byDefault = Profile("R16.0", "ACAD-201:804", kV9);
    MakeProfile(byDefault, kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, byDefault));

    // Machine only.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + "R16.0", "CurVer", "ACAD-M:804"));
    MakeProfile(Profile("R16.0", "ACAD-M:804", kV9), kV9);
    MakeProfile(byDefault, kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Profile("R16.0", "ACAD-M:804", kV9)));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, byDefault));

    // User before machine.
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, kAcad + "R16.0", "CurVer", "ACAD-U:804"));
    MakeProfile(Profile("R16.0", "ACAD-U:804", kV9), kV9);
    MakeProfile(Profile("R16.0", "ACAD-M:804", kV9), kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Profile("R16.0", "ACAD-U:804", kV9)));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Profile("R16.0", "ACAD-M:804", kV9)));
}

TEST_F(HostProfilesTest, R15FallsBackWhenCurVerProfileIsMissing) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + "R15.0", "CurVer", "ACAD-1:804"));
    std::string second = Profile("R15.0", "ACAD-2:804", kV9);
    std::string english = Profile("R15.0", "ACAD-1:409", kV9);
    MakeProfile(second, kV9);
    MakeProfile(english, kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, second));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, english));
}

TEST_F(HostProfilesTest, R15FallBacksUntouchedWhenFirstDeletionSucceeds) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + "R15.0", "CurVer", "ACAD-1:804"));
    std::string first = Profile("R15.0", "ACAD-1:804", kV9);
    std::string second = Profile("R15.0", "ACAD-2:804", kV9);
    MakeProfile(first, kV9);
    MakeProfile(second, kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, first));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, second));
}

TEST_F(HostProfilesTest, R15WithoutCurVerTriesAllFallBacks) {
    std::string first = Profile("R15.0", "ACAD-1:804", kV9);
    std::string english = Profile("R15.0", "ACAD-1:409", kV9);
    MakeProfile(first, kV9);
    MakeProfile(english, kV9);
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, first));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, english));
}

TEST_F(HostProfilesTest, EmptyProductKeyTouchesNoProfile) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kAcad + "R17.1", "CurVer", ""));
    std::string odd = kAcad + "R17.1\\Profiles\\" + kV9;  // what a collapsed "\\" would name
    ASSERT_TRUE(SetValue(HKEY_CURRENT_USER, odd, "", "x"));
    Remove();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, odd));
}

TEST_F(HostProfilesTest, NoAutoCadStillDeletesProductKey) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\Q\\"));
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kProductKey, "installPath", "C:\\Q\\"));
    Remove();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kV9Key));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductKey));
}
