#include "TestSupport.h"

#include <gtest/gtest.h>

#include "common/messages.h"

TempDir::TempDir(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[64];
    snprintf(name, sizeof(name), "quilm-%s-%lu-%lu\\", tag, GetCurrentProcessId(), GetTickCount());
    m_path = std::string(temp) + name;
    RemoveTree(m_path);
    MakeDirs(m_path);
}

TempDir::~TempDir() { RemoveTree(m_path); }

void RemoveTree(const std::string& path) {
    std::string dir = path;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
}

void MakeDirs(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), NULL);
        // Double-byte characters in test paths never have a 5C trail byte.
    }
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD wrote = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, NULL);
    CloseHandle(h);
}

std::string ReadBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(GetFileSize(h, NULL), '\0');
    DWORD got = 0;
    ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &got, NULL);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
bool ExactlyHidden(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & ~FILE_ATTRIBUTE_ARCHIVE) == FILE_ATTRIBUTE_HIDDEN;
}
HANDLE LockFile(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
}
bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
bool IsDir(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

OwnerWindow::OwnerWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &OwnerWindow::Proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QuilmTestOwner";
        RegisterClassA(&wc);
        registered = true;
    }
    m_hwnd = CreateWindowA("QuilmTestOwner", "owner", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                           GetModuleHandleA(NULL), this);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_wnd.m_hWnd = m_hwnd;
}

OwnerWindow::~OwnerWindow() { DestroyWindow(m_hwnd); }

LRESULT CALLBACK OwnerWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        switch (msg) {
        case WM_SETUP_PROGRESS:
            self->progress.push_back({reinterpret_cast<const char*>(wParam),
                                      reinterpret_cast<const char*>(lParam)});
            if (self->onProgress) self->onProgress(*self, self->context);
            return 0;
        case WM_SETUP_CONFIGURING: ++self->configuring; return 0;
        case WM_SETUP_DONE: ++self->done; return 0;
        case WM_SETUP_FAILED: ++self->failed; return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
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

void RunJob(CSetupThread& job, OwnerWindow& owner, const std::string& source, const std::string& dest) {
    job.m_strSourceDir = source.c_str();
    job.m_strDestDir = dest.c_str();
    job.m_pMainWnd = owner.wnd();
    job.m_bAutoDelete = FALSE;
    ASSERT_TRUE(job.CreateThread(0, 0, NULL));
    job.WaitForEnd();
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void MakeSmallMedium(const std::string& root) {
    for (const char* folder : CSetupThread::kPackageFolders) {
        MakeDirs(root + folder);
        WriteBytes(root + folder + "\\" + folder + ".dat", std::string("content of ") + folder);
    }
    WriteBytes(root + "Quilm.exe", "program");
    WriteBytes(root + "readme.txt", "说明\r\n");
    WriteBytes(root + "Setup.exe", "installer");
}
