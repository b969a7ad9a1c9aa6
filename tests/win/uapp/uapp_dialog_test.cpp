// The uninstall dialog in the test's own process: the bar's range and
// steps, the progress line, the end states and the dialog's results.  Only
// the self-deleting batch is kept from starting (it would delete the test
// program); message boxes are answered from a helper thread as a person
// would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiDriver.h"
#include "framework/AfxRes.h"
#include "framework/AfxRun.h"
#include "resources/uninstall/resource.h"
#include "support/Boxes.h"
#include "support/Jobs.h"
#include "support/ProductNames.h"
#include "uninstall/UninstallDlg.h"

using namespace quilmtest;

namespace {

struct Step {
    int pos, upper;
    std::string line;
};

// The real dialog, watched: every job message is noted after the dialog
// has handled it; at the end the finish button is clicked.
class WatchedDlg : public CUninstallDlg {
public:
    WatchedDlg() { m_job.m_pfnStartBatch = &UninstallJob::RecordBatchStart; }

    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override {
        BOOL handled = CUninstallDlg::OnMessage(message, wParam, lParam, lResult);
        if (message == WM_UNINSTALL_PROGRESS)
            m_steps.push_back(
                {m_progress.GetPos(), m_progress.GetUpper(), GetDlgItemText(IDC_CURRENT).str()});
        if (message == WM_UNINSTALL_DONE) {
            m_donePos = m_progress.GetPos();
            m_doneUpper = m_progress.GetUpper();
            m_doneTextVisible = ::IsWindowVisible(GetDlgItem(IDC_DONE_TEXT)) != 0;
            m_barVisible = ::IsWindowVisible(GetDlgItem(IDC_PROGRESS)) != 0;
            m_finishEnabled = ::IsWindowEnabled(GetDlgItem(IDOK)) != 0;
            m_focusOnFinish = ::GetFocus() == GetDlgItem(IDOK);
            ::PostMessageA(GetDlgItem(IDOK), BM_CLICK, 0, 0);
        }
        return handled;
    }

    std::vector<Step> m_steps;
    int m_donePos = -1, m_doneUpper = -1;
    bool m_doneTextVisible = false, m_barVisible = true, m_finishEnabled = false,
         m_focusOnFinish = false;
};

}  // namespace

class UninstallDialogTest : public UninstallTest {
protected:
    // A record of count files, all present, in an install folder.
    std::string MakeInstallation(int count) {
        std::string dest = m_dir + "安装\\";
        EXPECT_TRUE(MakeFolders(dest + "Support"));
        std::string record;
        for (int i = 0; i < count; ++i) {
            std::string file = dest + "Support\\文件" + std::to_string(i) + ".dat";
            EXPECT_TRUE(WriteBytes(file, "x"));
            record += "File Copy: " + file + "\r\n";
        }
        record += "Made Dir: " + dest + "Support\r\n";
        EXPECT_TRUE(WriteBytes(dest + "Uninstall.log", record));
        EXPECT_TRUE(
            SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", dest.substr(0, dest.size() - 1)));
        return dest;
    }
};

TEST(UninstallTexts, TheStringTableHoldsTheProgramsTexts) {
    EXPECT_EQ(AfxLoadString(IDS_UNINSTALL_QUESTION), "真要卸载 Quilm V9.0 吗?");
    EXPECT_EQ(AfxLoadString(IDS_UNINSTALL_CAPTION), "卸载软件");
    EXPECT_EQ(AfxLoadString(IDS_UNINSTALL_FAILED), "Quilm V9.0 卸载未能完成!");
    EXPECT_EQ(AfxLoadString(IDS_ITEMS_NOT_REMOVED), "有 %d 个项目未能删除, 可以手工删除:");
    EXPECT_EQ(AfxLoadString(IDS_PASSED_OVER), "已跳过 (不在安装文件夹内, 未删除): %s");
    EXPECT_EQ(AfxLoadString(AFX_IDS_COMMAND_LINE_HELP),
              "Uninstall.exe [/SILENT | /VERYSILENT] [/LOG=\"文件\"]\n\n"
              "/SILENT\t不提问, 只显示进度\n"
              "/VERYSILENT\t不显示任何窗口\n"
              "/LOG\t诊断日志文件 (默认在 %TEMP% 中)\n"
              "/? 或 /HELP\t显示本说明\n\n"
              "退出代码: 0 完成; 1 参数错误; 2 用户取消; 3 完成, 但有些项目失败 (见日志); 4 失败; "
              "1618 另一个安装程序正在运行, 请稍后再试; 3010 完成, 重新启动计算机后生效");
    EXPECT_EQ(AfxLoadString(AFX_IDS_ANOTHER_RUNNING),
              "另一个安装或卸载程序正在运行。\n\n请等它结束后再运行本程序。");
    EXPECT_EQ(AfxLoadString(AFX_IDS_MORE_ITEMS), "... 另有 %d 个");
}

TEST(UninstallTexts, CommandLineFaultsAreWordedAndHelpListsOnlyTheProgramsSwitches) {
    EXPECT_EQ(AfxCommandLineError(ParseCommandLine("/DIR=D:\\Quilm", false)),
              "无法识别的参数: /DIR=D:\\Quilm");
    const std::string uninstall = AfxLoadString(AFX_IDS_COMMAND_LINE_HELP).str();
    for (const char* name : {"/SILENT", "/VERYSILENT", "/LOG", "/HELP"})
        EXPECT_NE(uninstall.find(name), std::string::npos) << name;
    EXPECT_EQ(uninstall.find("/DIR"), std::string::npos);
}

TEST_F(UninstallDialogTest, BarRunsOneStepPerFileToTheFullRange) {
    std::string dest = MakeInstallation(40);
    UninstallJob::s_batchStarts = 0;
    WatchedDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(dlg.m_steps.size(), 40u);
    for (size_t i = 0; i < dlg.m_steps.size(); ++i) {
        EXPECT_EQ(dlg.m_steps[i].pos, static_cast<int>(i) + 1);
        EXPECT_EQ(dlg.m_steps[i].upper, 40);
        EXPECT_EQ(dlg.m_steps[i].line, dest + "Support\\文件" + std::to_string(i) + ".dat ... ");
    }
    EXPECT_EQ(dlg.m_donePos, 40);
    EXPECT_EQ(dlg.m_doneUpper, 40);
    EXPECT_TRUE(dlg.m_doneTextVisible);
    EXPECT_FALSE(dlg.m_barVisible);
    EXPECT_TRUE(dlg.m_finishEnabled);
    EXPECT_TRUE(dlg.m_focusOnFinish);
    EXPECT_EQ(UninstallJob::s_batchStarts, 1);
    EXPECT_FALSE(FolderExists(dest + "Support"));
}

TEST_F(UninstallDialogTest, InstallPathFromTheProductKeyEndsWithBackslash) {
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\装"));
    CString path;
    ASSERT_TRUE(CUninstallDlg::GetInstallPath(path));
    EXPECT_EQ(path.str(), "C:\\装\\");
    // "誠" ends with the byte of "\": still a separator is appended.
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\誠"));
    ASSERT_TRUE(CUninstallDlg::GetInstallPath(path));
    EXPECT_EQ(path.str(), "C:\\誠\\");
    ASSERT_TRUE(SetValue(HKEY_LOCAL_MACHINE, kV9Key, "installPath", "C:\\Quilm\\"));
    ASSERT_TRUE(CUninstallDlg::GetInstallPath(path));
    EXPECT_EQ(path.str(), "C:\\Quilm\\");
    EXPECT_EQ(CUninstallDlg::RecordPath().str(), "C:\\Quilm\\Uninstall.log");

    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kV9Key, KEY_WOW64_32KEY, 0);
    EXPECT_FALSE(CUninstallDlg::GetInstallPath(path));
    EXPECT_TRUE(path.IsEmpty());
    // Without the key: beside the program.
    std::string own = OwnProgramPath();
    EXPECT_EQ(CUninstallDlg::RecordPath().str(),
              own.substr(0, own.rfind('\\') + 1) + "Uninstall.log");
}

TEST_F(UninstallDialogTest, LockedRecordEndsWithTwoAfterTheReports) {
    std::string dest = MakeInstallation(3);
    HANDLE lock = ::CreateFileA((dest + "Uninstall.log").c_str(), GENERIC_READ, 0, NULL,
                                OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    INT_PTR result = 0;
    std::vector<std::string> texts;
    {
        BoxAnswerer answerer(IDOK);
        WatchedDlg dlg;
        result = dlg.DoModal();
        texts = answerer.Texts();
        EXPECT_TRUE(dlg.m_steps.empty());
    }
    ::CloseHandle(lock);
    EXPECT_EQ(result, 2);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("Uninstall.log"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[1], "Quilm V9.0 卸载未能完成!");
    EXPECT_TRUE(FileExists(dest + "Support\\文件0.dat"));
}
