// The install job's checks before its copy, answered through its prompts:
// the programs using the destination, and the free space.
#include <gtest/gtest.h>

#include "support/Host.h"
#include "support/Jobs.h"
#include "support/Process.h"

using namespace quilmtest;

using PreCopyChecks = SetupJobTest;

TEST_F(PreCopyChecks, ProgramsUsingTheDestinationAreNamedAndRetryGoesOnOnceTheyEnded) {
    KeyGuard guard;
    GuardAutoCadKeys(guard);
    TempDir acad("acad");
    SetAcadValue("R17.0", "ACAD-5001:804", "AcadLocation", acad.path());
    const std::string tool = dst / "工具.exe", autocad = acad / "acad.exe";
    ChildProcess running[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& exe = i ? autocad : tool;
        ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_WAITING_PROGRAM).c_str(), exe.c_str(), FALSE));
        ASSERT_TRUE(running[i].Start(exe)) << exe;
    }
    // The first 重试 finds both still running; they have ended by the second.
    job.answers = {IDTRYAGAIN, IDTRYAGAIN};
    job.onPrompt = [&] {
        if (job.prompts.size() == 2) {
            for (ChildProcess& program : running) EXPECT_TRUE(program.Kill());
        }
    };
    Run();
    ASSERT_EQ(job.prompts.size(), 2u);
    for (const SetupJob::Shown& prompt : job.prompts) {
        EXPECT_EQ(prompt.type & MB_TYPEMASK, static_cast<UINT>(MB_CANCELTRYCONTINUE));
        EXPECT_NE(prompt.text.find(tool + "\n"), std::string::npos) << prompt.text;
        EXPECT_NE(prompt.text.find(autocad + " (AutoCAD R17.0)\n"), std::string::npos)
            << prompt.text;
    }
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(job.m_nExitCode, 0);
}

TEST_F(PreCopyChecks, CancelWhileAProgramRunsTouchesNothing) {
    const std::string tool = dst / "工具.exe";
    ASSERT_TRUE(::CopyFileA(HostToWine(QUILM_WAITING_PROGRAM).c_str(), tool.c_str(), FALSE));
    ChildProcess running;
    ASSERT_TRUE(running.Start(tool));
    job.answers = {IDCANCEL};
    Run();
    EXPECT_TRUE(running.Kill());
    EXPECT_EQ(job.prompts.size(), 1u);
    EXPECT_EQ(Failed(), 1);
    EXPECT_EQ(job.m_nExitCode, 2);
    EXPECT_EQ(FilesBelow(dst.path()), std::vector<std::string>{tool});
}

TEST_F(PreCopyChecks, TooLittleFreeSpaceAsksAgainOnRetryAndCancelTouchesNothing) {
    job.m_nBytesToCopy = 1ULL << 62;  // more than any volume holds
    job.answers = {IDRETRY, IDCANCEL};
    RunJob(job, owner, src.path(), dst / "新\\目录\\");
    ASSERT_EQ(job.prompts.size(), 2u);
    EXPECT_EQ(job.prompts[1].type & MB_TYPEMASK, static_cast<UINT>(MB_RETRYCANCEL));
    // The volume is asked through the nearest folder that exists.
    EXPECT_EQ(job.prompts[1].text.find(dst.path() + " "), 0u) << job.prompts[1].text;
    EXPECT_EQ(Failed(), 1);
    EXPECT_EQ(job.m_nExitCode, 2);
    EXPECT_FALSE(Exists(dst / "新"));
}
