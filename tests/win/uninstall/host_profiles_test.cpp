// Removing kV9ProfileName from the AutoCAD releases: the lookup orders of
// each release, the R15.0 fall-backs, the subkeys of a profile, and the
// profiles that must stay.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

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

// Where a release looks for the profile to remove: rounds of "CurVer"
// values set, package profiles made (as "release\\product") and the
// removal, then the profiles gone and those kept.
struct CurVer {
    HKEY root;
    const char* release;
    const char* product;
};
struct RemovalRound {
    std::vector<CurVer> curVers;
    std::vector<const char*> made, gone, kept;
};
struct RemovalCase {
    const char* name;
    std::vector<RemovalRound> rounds;
};
void PrintTo(const RemovalCase& c, std::ostream* os) {
    *os << c.name;
}

const HKEY kUser = HKEY_CURRENT_USER, kMachine = HKEY_LOCAL_MACHINE;
const RemovalCase kRemovalCases[] = {
    {"R17CurVerOnlyForUserRemovesNothing",
     {{{{kUser, "R17.0", "ACAD-5001:804"}},
       {"R17.0\\ACAD-5001:804"},
       {},
       {"R17.0\\ACAD-5001:804"}}}},
    {"R16UsesUserThenMachineThenDefault",
     {// Nowhere: the default product key.
      {{}, {"R16.0\\ACAD-201:804"}, {"R16.0\\ACAD-201:804"}, {}},
      // Machine only.
      {{{kMachine, "R16.0", "ACAD-M:804"}},
       {"R16.0\\ACAD-M:804", "R16.0\\ACAD-201:804"},
       {"R16.0\\ACAD-M:804"},
       {"R16.0\\ACAD-201:804"}},
      // User before machine.
      {{{kUser, "R16.0", "ACAD-U:804"}},
       {"R16.0\\ACAD-U:804", "R16.0\\ACAD-M:804"},
       {"R16.0\\ACAD-U:804"},
       {"R16.0\\ACAD-M:804"}}}},
    {"R15FallsBackWhenCurVerProfileIsMissing",
     {{{{kMachine, "R15.0", "ACAD-1:804"}},
       {"R15.0\\ACAD-2:804", "R15.0\\ACAD-1:409"},
       {"R15.0\\ACAD-2:804", "R15.0\\ACAD-1:409"},
       {}}}},
    {"R15FallBacksUntouchedWhenFirstDeletionSucceeds",
     {{{{kMachine, "R15.0", "ACAD-1:804"}},
       {"R15.0\\ACAD-1:804", "R15.0\\ACAD-2:804"},
       {"R15.0\\ACAD-1:804"},
       {"R15.0\\ACAD-2:804"}}}},
    // A 64-bit AutoCAD's product key is in the 64-bit view; a 32-bit one of
    // the same release may have another.
    {"SixtyFourBitAutoCadsOwnProductKey",
     {{{{kMachine64, "R18.0", "ACAD-8001:409"}},
       {"R18.0\\ACAD-8001:409", "R18.0\\ACAD-8001:804"},
       {"R18.0\\ACAD-8001:409"},
       {"R18.0\\ACAD-8001:804"}},
      {{{kMachine, "R18.0", "ACAD-8001:804"}},
       {"R18.0\\ACAD-8001:409", "R18.0\\ACAD-8001:804"},
       {"R18.0\\ACAD-8001:409", "R18.0\\ACAD-8001:804"},
       {}}}},
    {"R15WithoutCurVerTriesAllFallBacks",
     {{{},
       {"R15.0\\ACAD-1:804", "R15.0\\ACAD-1:409"},
       {"R15.0\\ACAD-1:804", "R15.0\\ACAD-1:409"},
       {}}}},
};

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

class HostProfilesTable : public HostProfilesTest,
                          public ::testing::WithParamInterface<RemovalCase> {};

// A profile gone has no key left; a profile kept still has its subkeys.
TEST_P(HostProfilesTable, RemovesWhereTheReleaseLooks) {
    const std::vector<RemovalRound>& rounds = GetParam().rounds;
    for (size_t i = 0; i < rounds.size(); ++i) {
        SCOPED_TRACE("round " + std::to_string(i + 1));
        const RemovalRound& round = rounds[i];
        for (const CurVer& c : round.curVers)
            ASSERT_TRUE(SetValue(c.root, kAcad + c.release, "CurVer", c.product));
        for (const char* p : round.made) MakeProfile(kAcad + p + "\\Profiles\\" + kV9, kV9);
        Remove();
        for (const char* p : round.gone)
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAcad + p + "\\Profiles\\" + kV9)) << p;
        for (const char* p : round.kept) {
            EXPECT_TRUE(
                KeyExists(HKEY_CURRENT_USER, kAcad + p + "\\Profiles\\" + kV9 + "\\General"))
                << p;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, HostProfilesTable, ::testing::ValuesIn(kRemovalCases),
                         [](const ::testing::TestParamInfo<RemovalCase>& info) {
                             return std::string(info.param.name);
                         });

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
