#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include "setup/SetupMessages.h"
#include "support/JobSupport.h"

OwnerWindow::OwnerWindow()
    : m_window([this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
          result = 0;
          return Handle(msg, wParam, lParam);
      }) {
    m_wnd.m_hWnd = m_window.hwnd();
}

bool OwnerWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETUP_PROGRESS:
        progress.push_back(
            {reinterpret_cast<const char*>(wParam), reinterpret_cast<const char*>(lParam)});
        if (onProgress) onProgress(*this, context);
        return true;
    case WM_SETUP_CONFIGURING: ++configuring; return true;
    case WM_SETUP_DONE: ++done; return true;
    case WM_SETUP_FAILED: ++failed; return true;
    }
    return false;
}

int ScriptedJob::Prompt(const CString& text, UINT type) {
    prompts.push_back({text.str(), type});
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << text.str();
        return (type & MB_TYPEMASK) == MB_RETRYCANCEL ? IDCANCEL : IDABORT;
    }
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedJob::ReportFileError(const CFileException& error) {
    fileErrors.push_back(error.GetErrorMessage().str());
}

void RunJob(CSetupThread& job, OwnerWindow& owner, const std::string& source,
            const std::string& dest) {
    job.m_strSourceDir = source.c_str();
    job.m_strDestDir = dest.c_str();
    ASSERT_TRUE(RunThreadToEnd(job, owner.wnd()));
}

void MakeSmallMedium(const std::string& root) {
    for (const char* folder : CSetupThread::kPackageFolders) {
        MakeFolders(root + folder);
        EXPECT_TRUE(WriteBytes(root + folder + "\\" + folder + ".dat",
                               std::string("content of ") + folder));
    }
    EXPECT_TRUE(WriteBytes(root + "Quilm.exe", "program"));
    EXPECT_TRUE(WriteBytes(root + "readme.txt", "说明\r\n"));
    EXPECT_TRUE(WriteBytes(root + "Setup.exe", "installer"));
}
