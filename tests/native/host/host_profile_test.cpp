// Search lists, menu files, key paths and lookup orders of profile setup.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/host_profile.h"

namespace {

const HostRelease& Row(const char* releaseKey) {
    for (const HostRelease& r : kHostReleases)
        if (strcmp(r.releaseKey, releaseKey) == 0) return r;
    ADD_FAILURE() << "no row " << releaseKey;
    return kHostReleases[0];
}

std::vector<std::string> Bases(const char* releaseKey) {
    std::vector<std::string> names;
    for (const char* const* p = BaseProfilesOf(Row(releaseKey)); *p; ++p) names.push_back(*p);
    return names;
}

}  // namespace

TEST(HostSearchList, R18PutsArxAndMenuBeforeTheBaseList) {
    EXPECT_EQ("D:\\Land\\Support\\2010-12\\32\\arx;D:\\Land\\Support\\2010-12\\Menu;X;Y;",
              HostSearchList(Row("R18.0"), "D:\\Land\\", "X;Y", "ignored\\"));
}

TEST(HostSearchList, R16WithEmptyBaseEndsInTwoSemicolons) {
    std::string list = HostSearchList(Row("R16.1"), "D:\\Q\\", "", "");
    EXPECT_EQ("D:\\Q\\Support\\2004-06\\arx;D:\\Q\\Support\\2004-06\\Menu;D:\\Q\\填充图案;;", list);
}

TEST(HostSearchList, R17GroupAndHatchEntry) {
    EXPECT_EQ(
        "C:\\P Q\\Support\\2007-09\\arx;C:\\P Q\\Support\\2007-09\\Menu;C:\\P Q\\填充图案;"
        "A;B;C;",
        HostSearchList(Row("R17.2"), "C:\\P Q\\", "A;B;C", ""));
}

TEST(HostSearchList, R15NamesTheAutoCadFolderFourTimes) {
    EXPECT_EQ(
        "D:\\Land\\Support\\2000-02\\arx;D:\\Land\\Support\\2000-02\\Menu;D:\\Land\\填充图案;"
        "D:\\ACAD2002\\support;D:\\ACAD2002\\fonts;D:\\ACAD2002\\help;D:\\ACAD2002\\express;",
        HostSearchList(Row("R15.0"), "D:\\Land\\", "base is not used", "D:\\ACAD2002\\"));
}

TEST(HostSearchList, LongBaseListIsKeptWhole) {
    std::string base;
    while (base.size() < 5000) base += "C:\\Some Folder\\A very long support path;";
    std::string list = HostSearchList(Row("R16.0"), "D:\\Q\\", base, "");
    EXPECT_EQ(base + ";", list.substr(list.size() - base.size() - 1));
    EXPECT_GT(list.size(), 5000u);
}

TEST(HostSearchList, PercentSignsInFoldersAreCopiedAsText) {
    EXPECT_EQ("D:\\%s\\Support\\2010-12\\32\\arx;D:\\%s\\Support\\2010-12\\Menu;%d;",
              HostSearchList(Row("R18.2"), "D:\\%s\\", "%d", ""));
}

TEST(HostMenuFile, OnlyFromR17On) {
    EXPECT_EQ("", HostMenuFile(Row("R15.0"), "D:\\Q\\"));
    EXPECT_EQ("", HostMenuFile(Row("R16.2"), "D:\\Q\\"));
    EXPECT_EQ("D:\\Q\\Support\\2007-09\\Menu\\Quilm", HostMenuFile(Row("R17.0"), "D:\\Q\\"));
    EXPECT_EQ("D:\\Q\\Support\\2007-09\\Menu\\Quilm", HostMenuFile(Row("R17.2"), "D:\\Q\\"));
    EXPECT_EQ("D:\\Q\\Support\\2010-12\\Menu\\Quilm", HostMenuFile(Row("R18.1"), "D:\\Q\\"));
}

TEST(HostBaseProfiles, OrderPerRelease) {
    EXPECT_TRUE(Bases("R15.0").empty());
    std::vector<std::string> unnamed = {"<<未命名配置>>", "<<Unnamed Profile>>"};
    for (const char* r : {"R16.0", "R16.1", "R16.2", "R17.0", "R17.1", "R17.2"})
        EXPECT_EQ(unnamed, Bases(r)) << r;
    std::vector<std::string> initial = {"初始设置配置", "<<初始设置配置>>", "<<未命名配置>>"};
    for (const char* r : {"R18.0", "R18.1", "R18.2"}) EXPECT_EQ(initial, Bases(r)) << r;
}

TEST(HostLookup, ProfileSetupAsksTheMachineStoreFromR17On) {
    EXPECT_EQ(kLookupMachineThenUser, ProfileLookupOf(Row("R15.0")));
    EXPECT_EQ(kLookupUserThenMachineThenDefault, ProfileLookupOf(Row("R16.0")));
    EXPECT_EQ(kLookupUserThenDefault, ProfileLookupOf(Row("R16.1")));
    EXPECT_EQ(kLookupUserThenDefault, ProfileLookupOf(Row("R16.2")));
    for (const char* r : {"R17.0", "R17.1", "R17.2", "R18.0", "R18.1", "R18.2"}) {
        EXPECT_EQ(kLookupUserThenMachineThenDefault, ProfileLookupOf(Row(r))) << r;
        EXPECT_EQ(kLookupUserThenDefault, Row(r).lookup) << "detection differs for " << r;
    }
}

TEST(HostLookup, StoreOrders) {
    HostLookupOrder o = LookupOrderOf(kLookupMachineThenUser);
    ASSERT_EQ(2, o.count);
    EXPECT_EQ(kMachineStore, o.stores[0]);
    EXPECT_EQ(kUserStore, o.stores[1]);
    EXPECT_FALSE(o.useDefault);
    o = LookupOrderOf(kLookupUserThenMachineThenDefault);
    ASSERT_EQ(2, o.count);
    EXPECT_EQ(kUserStore, o.stores[0]);
    EXPECT_EQ(kMachineStore, o.stores[1]);
    EXPECT_TRUE(o.useDefault);
    o = LookupOrderOf(kLookupUserThenDefault);
    ASSERT_EQ(1, o.count);
    EXPECT_EQ(kUserStore, o.stores[0]);
    EXPECT_TRUE(o.useDefault);
}

TEST(HostKeyPaths, ReleaseProductAndProfileKeys) {
    const HostRelease& r = Row("R17.0");
    EXPECT_EQ("SOFTWARE\\Autodesk\\AutoCAD\\R17.0", HostReleaseKeyPath(r));
    EXPECT_EQ("SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804",
              HostProductKeyPath(r, "ACAD-5001:804"));
    EXPECT_EQ("Software\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Profiles\\<<Quilm V8>>",
              HostProfileKeyPath(r, "ACAD-5001:804", "<<Quilm V8>>"));
    // An empty product key still gives the key text the formats give.
    EXPECT_EQ("SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\", HostProductKeyPath(Row("R18.0"), ""));
}

TEST(HostReleaseIndex, OnlyTableRows) {
    for (int i = 0; i < kHostReleaseCount; ++i) EXPECT_EQ(i, HostReleaseIndex(kHostReleases[i]));
    HostRelease copy = kHostReleases[3];
    EXPECT_EQ(-1, HostReleaseIndex(copy));
    EXPECT_EQ("", HostSearchList(copy, "D:\\", "X", ""));
}

TEST(HostFallbackBaseList, NamesTheReleasesOwnFoldersAsR15Does) {
    EXPECT_EQ("D:\\CAD 2008\\support;D:\\CAD 2008\\fonts;D:\\CAD 2008\\help;D:\\CAD 2008\\express",
              HostFallbackBaseList("D:\\CAD 2008\\"));
    // In a later release's list, behind the package's own folders.
    EXPECT_EQ(
        "D:\\Land\\Support\\2007-09\\arx;D:\\Land\\Support\\2007-09\\Menu;D:\\Land\\填充图案;"
        "E:\\A\\support;E:\\A\\fonts;E:\\A\\help;E:\\A\\express;",
        HostSearchList(Row("R17.0"), "D:\\Land\\", HostFallbackBaseList("E:\\A\\"), "x\\"));
}
