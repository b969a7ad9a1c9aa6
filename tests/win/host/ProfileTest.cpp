// The package profile made in each AutoCAD release found.
#include <gtest/gtest.h>

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

}  // namespace

TEST_F(Profile, R15ListNamesTheAutoCadFolderFourTimes) {
    SetCurVer(HKEY_LOCAL_MACHINE, "R15.0", "ACAD-1:804");
    SetAcadValue("R15.0", "ACAD-1:804", "AcadLocation", "D:\\ACAD2002\\");
    SetBaseProfile("R15.0", "ACAD-1:804", "<<未命名配置>>", "NOT;USED");
    m_job.WriteProductKeys();
    EXPECT_EQ(
        "D:\\Land\\Support\\2000-02\\arx;D:\\Land\\Support\\2000-02\\Menu;D:\\Land\\填充图案;"
        "D:\\ACAD2002\\support;D:\\ACAD2002\\fonts;D:\\ACAD2002\\help;D:\\ACAD2002\\express;",
        Value("R15.0", "ACAD-1:804", "General", "ACAD"));
    EXPECT_EQ(kProfileName, Value("R15.0", "ACAD-1:804", "", ""));
    EXPECT_FALSE(Has("R15.0", "ACAD-1:804", "General Configuration", "MenuFile"));
}

TEST_F(Profile, R16_2WithoutBaseProfileEndsInTwoSemicolons) {
    SetAcadValue("R16.2", "ACAD-4001:409", "AcadLocation", "D:\\ACAD2006");
    m_job.WriteProductKeys();
    EXPECT_EQ(
        "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;;",
        Value("R16.2", "ACAD-4001:409", "General", "ACAD"));
    EXPECT_FALSE(Has("R16.2", "ACAD-4001:409", "General Configuration", "MenuFile"));
    EXPECT_EQ(kProfileName, Value("R16.2", "ACAD-4001:409", "", ""));
}

TEST_F(Profile, R16BaseProfileOrder) {
    SetAcadValue("R16.0", "ACAD-201:804", "AcadLocation", "D:\\ACAD2004");
    SetBaseProfile("R16.0", "ACAD-201:804", "<<Unnamed Profile>>", "U1;U2");
    m_job.WriteProductKeys();
    EXPECT_EQ(
        "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;"
        "U1;U2;",
        Value("R16.0", "ACAD-201:804", "General", "ACAD"));
    SetBaseProfile("R16.0", "ACAD-201:804", "<<未命名配置>>", "C1");
    m_job.WriteProductKeys();
    EXPECT_EQ(
        "D:\\Land\\Support\\2004-06\\arx;D:\\Land\\Support\\2004-06\\Menu;D:\\Land\\填充图案;"
        "C1;",
        Value("R16.0", "ACAD-201:804", "General", "ACAD"));
}

TEST_F(Profile, R18BaseProfileOrder) {
    const std::string pk = "ACAD-8001:804";
    SetAcadValue("R18.0", pk, "AcadLocation", "D:\\ACAD2010");
    const std::string front =
        "D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;";
    SetBaseProfile("R18.0", pk, "<<Unnamed Profile>>", "never");
    m_job.WriteProductKeys();
    EXPECT_EQ(front + ";", Value("R18.0", pk, "General", "ACAD"));  // not among R18's bases
    SetBaseProfile("R18.0", pk, "<<未命名配置>>", "third");
    m_job.WriteProductKeys();
    EXPECT_EQ(front + "third;", Value("R18.0", pk, "General", "ACAD"));
    SetBaseProfile("R18.0", pk, "<<初始设置配置>>", "second");
    m_job.WriteProductKeys();
    EXPECT_EQ(front + "second;", Value("R18.0", pk, "General", "ACAD"));
    SetBaseProfile("R18.0", pk, "初始设置配置", "X;Y");
    m_job.WriteProductKeys();
    EXPECT_EQ(front + "X;Y;", Value("R18.0", pk, "General", "ACAD"));
    EXPECT_EQ("D:\\Land\\Support\\2010-12\\Menu\\Quilm",
              Value("R18.0", pk, "General Configuration", "MenuFile"));
    EXPECT_EQ(kProfileName, Value("R18.0", pk, "", ""));
}

TEST_F(Profile, R17MachineCurVerDecidesWhereTheProfileGoes) {
    // Detection probes the default key; profile setup writes under the
    // product key of the machine store.
    SetCurVer(HKEY_LOCAL_MACHINE, "R17.1", "ACAD-6001:409");
    SetAcadValue("R17.1", "ACAD-6001:804", "AcadLocation", "D:\\ACAD2008");
    SetBaseProfile("R17.1", "ACAD-6001:409", "<<未命名配置>>", "M1;M2");
    SetBaseProfile("R17.1", "ACAD-6001:804", "<<未命名配置>>", "D1");
    m_job.WriteProductKeys();
    EXPECT_EQ(
        "D:\\Land\\Support\\2007-09\\arx;D:\\Land\\Support\\2007-09\\Menu;D:\\Land\\填充图案;"
        "M1;M2;",
        Value("R17.1", "ACAD-6001:409", "General", "ACAD"));
    EXPECT_EQ("D:\\Land\\Support\\2007-09\\Menu\\Quilm",
              Value("R17.1", "ACAD-6001:409", "General Configuration", "MenuFile"));
    EXPECT_EQ(kProfileName, Value("R17.1", "ACAD-6001:409", "", ""));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey("R17.1", "ACAD-6001:804", kProfileName)));
}

TEST_F(Profile, R16_1LooksOnlyInTheUserStore) {
    SetCurVer(HKEY_LOCAL_MACHINE, "R16.1", "ACAD-301:804");
    SetAcadValue("R16.1", "ACAD-301:409", "AcadLocation", "D:\\ACAD2005");
    m_job.WriteProductKeys();
    EXPECT_TRUE(Has("R16.1", "ACAD-301:409", "", ""));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ProfileKey("R16.1", "ACAD-301:804", kProfileName)));
}

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
