// Finding installed AutoCAD releases from registry fixtures.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/HostRegistry.h"
#include "support/Host.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"

using namespace quilmtest;

namespace {

class Detection : public ::testing::Test {
protected:
    void SetUp() override { GuardAutoCadKeys(m_guard); }
    // The folder found for release, with " 64-bit" when found in the 64-bit
    // view, or "not found" (with the folder when one was left behind).
    std::string Found(const char* release) {
        HostInstall found;
        found.folder = "stale";
        if (FindHostRelease(Release(release), found))
            return found.folder + (found.view == kHostView64 ? " 64-bit" : "");
        return found.folder.empty() ? "not found" : "not found, but " + found.folder;
    }
    KeyGuard m_guard;
    SetupJob m_job;
};

// One release found from registry fixtures: each step writes (or deletes)
// one value below "SOFTWARE\Autodesk\AutoCAD\", then may look at what is
// found.
const char kNoValue[] = "<no value>";
struct DetectionStep {
    HKEY root;
    const char* key;
    const char* name;
    std::string data;   // kNoValue: the value is deleted
    const char* found;  // Found(release) after the step; nullptr: not looked at
};
struct DetectionCase {
    struct {
        const char* name;
        const char* release;
    } head;
    std::vector<DetectionStep> steps;
};
void PrintTo(const DetectionCase& c, std::ostream* os) {
    *os << c.head.name;
}

const HKEY kUser = HKEY_CURRENT_USER, kMachine = HKEY_LOCAL_MACHINE;
const DetectionCase kDetectionCases[] = {
    {{"DefaultProductKeyWithLocation", "R17.0"},
     {{kMachine, "R17.0\\ACAD-5001:804", "AcadLocation", "D:\\Program Files\\AutoCAD 2007",
       "D:\\Program Files\\AutoCAD 2007\\"}}},
    {{"R16_0CurVerOnlyInTheMachineStore", "R16.0"},
     {{kMachine, "R16.0", "CurVer", "ACAD-201:409", nullptr},
      {kMachine, "R16.0\\ACAD-201:409", "AcadLocation", "D:\\ACAD2004", nullptr},
      {kMachine, "R16.0\\ACAD-201:804", "AcadLocation", "D:\\Default", "D:\\ACAD2004\\"},
      // The user store comes first.
      {kUser, "R16.0", "CurVer", "ACAD-201:804", "D:\\Default\\"}}},
    {{"CurVerNamingAnotherLanguageIsUsedUnchanged", "R18.0"},
     {{kUser, "R18.0", "CurVer", "ACAD-8001:409", nullptr},
      {kMachine, "R18.0\\ACAD-8001:804", "AcadLocation", "D:\\Chinese", "not found"},
      {kMachine, "R18.0\\ACAD-8001:409", "AcadLocation", "D:\\English", "D:\\English\\"}}},
    {{"R18_1FallsBackToLocation", "R18.1"},
     {{kMachine, "R18.1\\ACAD-9001:804", "AcadLocation", "", nullptr},
      {kMachine, "R18.1\\ACAD-9001:804", "Location", "D:\\CAD\\2011", "D:\\CAD\\2011\\"},
      // Without any AcadLocation value too.
      {kMachine, "R18.1\\ACAD-9001:804", "AcadLocation", kNoValue, "D:\\CAD\\2011\\"},
      // AcadLocation wins when it has a folder.
      {kMachine, "R18.1\\ACAD-9001:804", "AcadLocation", "E:\\Acad", "E:\\Acad\\"}}},
    {{"R17_2HasNoLocationFallback", "R17.2"},
     {{kMachine, "R17.2\\ACAD-7001:804", "AcadLocation", "", nullptr},
      {kMachine, "R17.2\\ACAD-7001:804", "Location", "D:\\CAD\\2009", "not found"}}},
    {{"EmptyCurVerIsTakenAsTheProductKey", "R17.0"},
     {{kUser, "R17.0", "CurVer", "", nullptr},
      {kMachine, "R17.0\\ACAD-5001:804", "AcadLocation", "D:\\Default", "not found"},
      // The location key is the release key with a trailing "\".
      {kMachine, "R17.0", "AcadLocation", "D:\\OddPlace", "D:\\OddPlace\\"}}},
    // A 64-bit AutoCAD writes its machine keys in the 64-bit view only; a
    // 32-bit one of the same release comes first.
    {{"SixtyFourBitR18_0", "R18.0"},
     {{kMachine64, "R18.0\\ACAD-8001:804", "AcadLocation", "C:\\Program Files\\AutoCAD 2010",
       "C:\\Program Files\\AutoCAD 2010\\ 64-bit"},
      {kMachine, "R18.0\\ACAD-8001:804", "AcadLocation", "C:\\Program Files (x86)\\AutoCAD 2010",
       "C:\\Program Files (x86)\\AutoCAD 2010\\"}}},
    {{"SixtyFourBitR16_0WithItsOwnCurVer", "R16.0"},
     {{kMachine64, "R16.0", "CurVer", "ACAD-201:409", nullptr},
      {kMachine64, "R16.0\\ACAD-201:409", "AcadLocation", "D:\\ACAD2004", "D:\\ACAD2004\\ 64-bit"},
      // The 32-bit view's product key does not lead into the 64-bit view.
      {kMachine, "R16.0", "CurVer", "ACAD-201:804", "D:\\ACAD2004\\ 64-bit"}}},
    {{"OverlongLocationCountsAsAbsent", "R18.2"},
     {{kMachine, "R18.2\\ACAD-A001:804", "AcadLocation", "D:\\" + std::string(3000, 'a'),
       "not found"},
      {kMachine, "R18.2\\ACAD-A001:804", "Location", "D:\\Short", "D:\\Short\\"}}},
};

}  // namespace

class DetectionTable : public Detection, public ::testing::WithParamInterface<DetectionCase> {};

TEST_P(DetectionTable, FolderFound) {
    const DetectionCase& c = GetParam();
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const DetectionStep& step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        const std::string key = std::string("SOFTWARE\\Autodesk\\AutoCAD\\") + step.key;
        if (step.data == kNoValue) DeleteValue(step.root, key, step.name);
        else SetValue(step.root, key, step.name, step.data);
        if (step.found) {
            EXPECT_EQ(step.found, Found(c.head.release));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Releases, DetectionTable, ::testing::ValuesIn(kDetectionCases),
                         [](const ::testing::TestParamInfo<DetectionCase>& info) {
                             return std::string(info.param.head.name);
                         });

TEST_F(Detection, NoAutoCadAtAll) {
    for (const HostRelease& r : kHostReleases) {
        HostInstall found;
        found.folder = "stale";
        EXPECT_FALSE(FindHostRelease(r, found)) << r.releaseKey;
        EXPECT_TRUE(found.folder.empty()) << r.releaseKey;
    }
    // The 64-bit view is only ever opened.
    EXPECT_FALSE(KeyExists(kMachine64, "SOFTWARE\\Autodesk"));
    // Probing leaves the keys it opened, empty.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R15.0"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE,
                           "SOFTWARE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804"
                           "\\Profiles"));
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

TEST_F(Detection, R15_0NeedsCurVer) {
    SetAcadValue("R15.0", "ACAD-1:804", "AcadLocation", "D:\\ACAD2002");
    EXPECT_EQ("not found", Found("R15.0"));
    // No location was probed: the only product key below R15.0 is ours.
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R15.0",
                                           0, KEY_READ | KEY_WOW64_32KEY, &h));
    DWORD subkeys = 0;
    RegQueryInfoKeyA(h, NULL, NULL, NULL, &subkeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    RegCloseKey(h);
    EXPECT_EQ(1u, subkeys);
    SetCurVer(HKEY_CURRENT_USER, "R15.0", "ACAD-1:804");  // machine, then user
    EXPECT_EQ("D:\\ACAD2002\\", Found("R15.0"));
    SetCurVer(HKEY_LOCAL_MACHINE, "R15.0", "ACAD-2:804");  // the machine store comes first
    EXPECT_EQ("not found", Found("R15.0"));
}
