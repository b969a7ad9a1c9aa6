// The package profile made in each AutoCAD release found.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

const char kDest[] = "D:\\Land\\";

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        GuardAutoCadKeys(m_guard);
        m_guard.Guard(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvantix");
        m_guard.Guard(HKEY_LOCAL_MACHINE, kUninstallKey);
        m_job.m_strDestDir = kDest;
    }
    // Value of the package profile, "" with a failure when absent.
    std::string Value(const char* release, const std::string& product, const char* subkey,
                      const char* value) {
        std::string key = ProfileKey(release, product, kProfileName);
        if (*subkey) key += std::string("\\") + subkey;
        std::string text;
        EXPECT_TRUE(GetValue(HKEY_CURRENT_USER, key, value, text)) << key << " " << value;
        return text;
    }
    bool Has(const char* release, const std::string& product, const char* subkey,
             const char* value) {
        std::string key = ProfileKey(release, product, kProfileName);
        if (*subkey) key += std::string("\\") + subkey;
        return ValueExists(HKEY_CURRENT_USER, key, value);
    }
    KeyGuard m_guard;
    SetupJob m_job;
};

// One release's package profile: the AutoCAD found, then rounds of base
// profiles set and the package profile written, each with the search list
// it gives; then where the profile is and what it holds.
struct BaseProfile {
    const char* product;
    const char* profile;
    const char* list;
};
struct ProfileRound {
    std::vector<BaseProfile> bases;  // set before the write
    const char* acad;                // "General\ACAD" after it; nullptr: not looked at
};
struct ProfileCase {
    struct Head {
        const char* name;
        const char* release;
        const char* machineCurVer;  // "CurVer" of the machine store; nullptr: none
        const char* locationProduct;
        const char* location;   // its "AcadLocation"
        const char* product;    // where the package profile goes
        const char* menuFile;   // nullptr: no "MenuFile" value
        const char* noProfile;  // a product key left without the profile, or nullptr
    } head;
    std::vector<ProfileRound> rounds;
};
void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.head.name;
}

const ProfileCase kProfileCases[] = {
    {{"R15ListNamesTheAutoCadFolderFourTimes", "R15.0", "ACAD-1:804", "ACAD-1:804",
      "D:\\ACAD2002\\", "ACAD-1:804", nullptr, nullptr},
     {{{{"ACAD-1:804", "<<未命名配置>>", "NOT;USED"}},
       "D:\\Land\\Support\\2000-02\\arx;D:\\Land\\Support\\2000-02\\Menu;D:\\Land\\填充图案;"
       "D:\\ACAD2002\\support;D:\\ACAD2002\\fonts;D:\\ACAD2002\\help;D:\\ACAD2002\\express;"}}},
    {{"R16_2WithoutBaseProfileEndsInTwoSemicolons", "R16.2", nullptr, "ACAD-4001:409",
      "D:\\ACAD2006", "ACAD-4001:409", nullptr, nullptr},
     {{{},
       "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;;"}}},
    {{"R16BaseProfileOrder", "R16.0", nullptr, "ACAD-201:804", "D:\\ACAD2004", "ACAD-201:804",
      nullptr, nullptr},
     {{{{"ACAD-201:804", "<<Unnamed Profile>>", "U1;U2"}},
       "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;"
       "U1;U2;"},
      {{{"ACAD-201:804", "<<未命名配置>>", "C1"}},
       "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;"
       "C1;"}}},
    {{"R18BaseProfileOrder", "R18.0", nullptr, "ACAD-8001:804", "D:\\ACAD2010", "ACAD-8001:804",
      "D:\\Land\\Support\\2010-12\\Menu\\Quilm", nullptr},
     // "<<Unnamed Profile>>" is not among R18's bases.
     {{{{"ACAD-8001:804", "<<Unnamed Profile>>", "never"}},
       "D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;;"},
      {{{"ACAD-8001:804", "<<未命名配置>>", "third"}},
       "D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;third;"},
      {{{"ACAD-8001:804", "<<初始设置配置>>", "second"}},
       "D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;second;"},
      {{{"ACAD-8001:804", "初始设置配置", "X;Y"}},
       "D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;X;Y;"}}},
    // Detection probes the default key; profile setup writes under the
    // product key of the machine store.
    {{"R17MachineCurVerDecidesWhereTheProfileGoes", "R17.1", "ACAD-6001:409", "ACAD-6001:804",
      "D:\\ACAD2008", "ACAD-6001:409", "D:\\Land\\Support\\2007-09\\Menu\\Quilm", "ACAD-6001:804"},
     {{{{"ACAD-6001:409", "<<未命名配置>>", "M1;M2"}, {"ACAD-6001:804", "<<未命名配置>>", "D1"}},
       "D:\\Land\\Support\\2007-09\\arx;D:\\Land\\Support\\2007-09\\Menu;D:\\Land\\填充图案;"
       "M1;M2;"}}},
    {{"R16_1LooksOnlyInTheUserStore", "R16.1", "ACAD-301:804", "ACAD-301:409", "D:\\ACAD2005",
      "ACAD-301:409", nullptr, "ACAD-301:804"},
     {{{}, nullptr}}},
};

}  // namespace

class ProfileTable : public Profile, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileTable, SearchListMenuAndName) {
    const ProfileCase::Head& c = GetParam().head;
    const std::vector<ProfileRound>& rounds = GetParam().rounds;
    if (c.machineCurVer) SetCurVer(HKEY_LOCAL_MACHINE, c.release, c.machineCurVer);
    SetAcadValue(c.release, c.locationProduct, "AcadLocation", c.location);
    for (size_t i = 0; i < rounds.size(); ++i) {
        SCOPED_TRACE("round " + std::to_string(i + 1));
        for (const BaseProfile& b : rounds[i].bases)
            SetBaseProfile(c.release, b.product, b.profile, b.list);
        m_job.WriteProductKeys();
        if (rounds[i].acad) {
            EXPECT_EQ(rounds[i].acad, Value(c.release, c.product, "General", "ACAD"));
        }
    }
    if (c.menuFile) {
        EXPECT_EQ(c.menuFile, Value(c.release, c.product, "General Configuration", "MenuFile"));
    } else {
        EXPECT_FALSE(Has(c.release, c.product, "General Configuration", "MenuFile"));
    }
    EXPECT_TRUE(Has(c.release, c.product, "", ""));
    EXPECT_EQ(kProfileName, Value(c.release, c.product, "", ""));
    if (c.noProfile) {
        EXPECT_FALSE(
            KeyExists(HKEY_CURRENT_USER, ProfileKey(c.release, c.noProfile, kProfileName)));
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, ProfileTable, ::testing::ValuesIn(kProfileCases),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) {
                             return std::string(info.param.head.name);
                         });

TEST_F(Profile, InstallingTwiceGivesTheSameValues) {
    SetAcadValue("R16.0", "ACAD-201:804", "AcadLocation", "D:\\ACAD2004");
    SetBaseProfile("R16.0", "ACAD-201:804", "<<未命名配置>>", "A;B");
    SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", "D:\\ACAD2007");
    SetBaseProfile("R17.0", "ACAD-5001:804", "<<未命名配置>>", "C");
    SetAcadValue("R18.2", "ACAD-A001:804", "AcadLocation", "D:\\ACAD2012");
    SetBaseProfile("R18.2", "ACAD-A001:804", "初始设置配置", "D");
    // Another value of an earlier profile stays.
    SetValue(HKEY_CURRENT_USER, ProfileKey("R17.0", "ACAD-5001:804", kProfileName) + "\\General",
             "Other", "kept");

    struct Probe {
        const char* release;
        const char* product;
        const char* subkey;
        const char* value;
    };
    const Probe probes[] = {
        {"R16.0", "ACAD-201:804", "General", "ACAD"},
        {"R16.0", "ACAD-201:804", "", ""},
        {"R17.0", "ACAD-5001:804", "General", "ACAD"},
        {"R17.0", "ACAD-5001:804", "General Configuration", "MenuFile"},
        {"R17.0", "ACAD-5001:804", "", ""},
        {"R18.2", "ACAD-A001:804", "General", "ACAD"},
        {"R18.2", "ACAD-A001:804", "General Configuration", "MenuFile"},
        {"R18.2", "ACAD-A001:804", "", ""},
    };
    m_job.WriteProductKeys();
    std::vector<std::string> first;
    for (const Probe& p : probes) first.push_back(Value(p.release, p.product, p.subkey, p.value));
    m_job.WriteProductKeys();
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i],
                  Value(probes[i].release, probes[i].product, probes[i].subkey, probes[i].value));
    EXPECT_EQ(
        "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;"
        "A;B;",
        first[0]);
    EXPECT_EQ("D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;D;", first[5]);
    EXPECT_EQ("kept", Value("R17.0", "ACAD-5001:804", "General", "Other"));
    EXPECT_FALSE(Has("R16.0", "ACAD-201:804", "General Configuration", "MenuFile"));
}

TEST_F(Profile, LongSearchListIsWrittenWhole) {
    std::string base;
    while (base.size() < 2040) base += "C:\\Program Files\\AutoCAD 2010\\support;";
    base.resize(2040);
    ASSERT_LT(base.size(), 2048u);  // the base itself is readable
    SetAcadValue("R18.0", "ACAD-8001:804", "AcadLocation", "D:\\ACAD2010");
    SetBaseProfile("R18.0", "ACAD-8001:804", "<<未命名配置>>", base);
    m_job.WriteProductKeys();
    std::string list = Value("R18.0", "ACAD-8001:804", "General", "ACAD");
    EXPECT_EQ("D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;" + base + ";",
              list);
    EXPECT_GT(list.size(), 2048u);
}

TEST_F(Profile, ProfilesOnlyForReleasesFound) {
    SetAcadValue("R17.2", "ACAD-7001:804", "Location", "D:\\NotUsed");  // no fallback for R17.2
    SetAcadValue("R18.1", "ACAD-9001:804", "Location", "D:\\CAD\\2011");
    m_job.WriteProductKeys();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey("R17.2", "ACAD-7001:804", kProfileName)));
    EXPECT_TRUE(Has("R18.1", "ACAD-9001:804", "", ""));
    for (const HostRelease& r : kHostReleases) {
        if (std::string(r.releaseKey) == "R18.1") continue;
        std::string product = r.defaultProductKey ? r.defaultProductKey : "";
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey(r.releaseKey, product, kProfileName)))
            << r.releaseKey;
    }
}

// A 64-bit AutoCAD (its keys in the 64-bit view) loads only 64-bit
// modules: it gets the package only with its support group's "64" folder.
TEST_F(Profile, SixtyFourBitAutoCadGetsTheSixtyFourBitArxFolderWhereThereIsOne) {
    TempDir dest("profile64");
    const std::string d = dest.path();
    for (const char* arx : {"2010-12\\64\\arx", "2007-09\\64\\arx", "2004-06\\arx"})
        ASSERT_TRUE(MakeFolders(d + "Support\\" + arx));
    m_job.m_strDestDir = d.c_str();
    SetAcadValue("R18.0", "ACAD-8001:804", "AcadLocation", "C:\\AutoCAD 2010", kMachine64);
    SetAcadValue("R17.1", "ACAD-6001:804", "AcadLocation", "C:\\AutoCAD 2008", kMachine64);
    SetAcadValue("R16.2", "ACAD-4001:409", "AcadLocation", "C:\\AutoCAD 2006", kMachine64);
    m_job.WriteProductKeys();
    EXPECT_EQ(d + "Support\\2010-12\\64\\arx;" + d + "Support\\2010-12\\Menu;;",
              Value("R18.0", "ACAD-8001:804", "General", "ACAD"));
    EXPECT_EQ(d + "Support\\2007-09\\64\\arx;" + d + "Support\\2007-09\\Menu;" + d + "填充图案;;",
              Value("R17.1", "ACAD-6001:804", "General", "ACAD"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey("R16.2", "ACAD-4001:409", kProfileName)));
    EXPECT_EQ(std::vector<std::string>{"AutoCAD R16.2 (64 位): C:\\AutoCAD 2006\\"},
              m_job.m_unsupportedHosts);
    EXPECT_TRUE(m_job.m_failedItems.empty());
}
