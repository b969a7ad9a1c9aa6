#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/programs_in_use.h"

// "誠" (D5 5C) ends in a byte that looks like "\".
TEST(ProgramsUsing, HostsAndProgramsInsideTheFolderOnceEach) {
    const std::vector<HostProgram> hosts = {{"R17.0", "C:\\AutoCAD 2007\\acad.exe"},
                                            {"R18.0", "C:\\AutoCAD 2010\\acad.exe"}};
    const std::vector<std::string> running = {
        "C:\\windows\\system32\\notepad.exe", "c:\\autocad 2007\\ACAD.EXE",
        "D:\\Quilm\\\xD5\x5C\\tool.exe",      "D:\\Quilm2\\tool.exe",
        "C:\\AutoCAD 2007\\acad.exe",         "D:\\quilm\\Quilm.exe",
        "C:\\AutoCAD 2007\\acadlt.exe",       "D:\\Quilm\\..\\other.exe"};
    const std::vector<ProgramInUse> found = ProgramsUsing(running, hosts, "D:\\Quilm\\");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].image, "c:\\autocad 2007\\ACAD.EXE");
    EXPECT_EQ(found[0].release, "R17.0");
    EXPECT_EQ(found[1].image, "D:\\Quilm\\\xD5\x5C\\tool.exe");
    EXPECT_EQ(found[1].release, "");
    EXPECT_EQ(found[2].image, "D:\\quilm\\Quilm.exe");
    EXPECT_EQ(ProgramsInUseList(found),
              "c:\\autocad 2007\\ACAD.EXE (AutoCAD R17.0)\nD:\\Quilm\\\xD5\x5C\\tool.exe\n"
              "D:\\quilm\\Quilm.exe");
    // A folder whose last byte is a trail byte "\" holds nothing of a
    // sibling that merely starts with its bytes.
    const std::string cheng = "D:\\\xD5\x5C";
    EXPECT_TRUE(ProgramsUsing({cheng + "a\\x.exe"}, {}, cheng).empty());
    EXPECT_TRUE(ProgramsUsing(running, {}, "E:\\Quilm\\").empty());
    EXPECT_EQ(ProgramsInUseList({}), "");
}
