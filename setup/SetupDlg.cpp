#include "SetupDlg.h"

#include <ole2.h>
#include <olectl.h>

#include "../framework/AfxFile.h"
#include "../resources/setup/resource.h"
#include "CopyPage.h"
#include "WizardPages.h"

namespace {

const char kWizardTitle[] = "Quilm V8.5 安装向导";
const char kProductKey[] = "SOFTWARE\\Corvantix\\Quilm\\V8";
const char kDefaultDestDir[] = "C:\\Program Files\\Corvantix\\Quilm\\";
const COLORREF kNoPictureColour = RGB(0, 128, 128);

}  // namespace

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(IDD_SETUP_DIALOG, pParent) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CSetupDlg::~CSetupDlg() = default;

BOOL CSetupDlg::IsInstalled() {
    HKEY key = NULL;
    // Opened with create semantics: a missing key is left behind, empty.
    if (::RegCreateKeyA(HKEY_LOCAL_MACHINE, kProductKey, &key) != ERROR_SUCCESS) return FALSE;
    // Only whether the value exists counts, whatever its type or length.
    LONG r = ::RegQueryValueExA(key, "installPath", NULL, NULL, NULL, NULL);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

BOOL CSetupDlg::AskQuit() const {
    return MessageBox("真要退出安装程序吗?", kWizardTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    char path[MAX_PATH + 1] = {0};
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    m_data.strSourceDir = FolderOfProgram(path);
    BuildSlideList(CString(m_data.strSourceDir) + "\\安装界面\\", "*.jpg", m_slideFiles);

    if (IsInstalled() && MessageBox("已经安装了本软件!\n是否重新安装?", "警告",
                                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        PostMessage(WM_CLOSE);
        return FALSE;
    }

    SetWindowText(kWizardTitle);
    m_data.bAgreement = false;
    m_data.strDestDir = kDefaultDestDir;
    ::ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);
    ::SetTimer(m_hWnd, kSlideTimer, m_nSlidePeriod, NULL);

    {
        CWelcomePage welcome(this);
        CLicensePage license(this);
        CInstallPathPage installPath(this);
        CCopyPage copy(this);
        CFinishPage finish(this);
        IWizardPage* const pages[kWizardPageCount] = {&welcome, &license, &installPath, &copy,
                                                      &finish};
        RunWizard(pages, m_data, [this] { return AskQuit(); });
        PostMessage(WM_CLOSE);
    }
    return TRUE;
}

void CSetupDlg::BuildSlideList(const CString& folder, LPCSTR pattern, CStringArray& files) {
    files.RemoveAll();
    char saved[1024] = {0};
    DWORD got = ::GetCurrentDirectoryA(sizeof(saved), saved);
    bool restore = got > 0 && got < sizeof(saved);
    if (!::SetCurrentDirectoryA(folder)) return;
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots() || finder.IsDirectory()) continue;
        files.Add(folder + finder.GetFileName());
    }
    finder.Close();
    if (restore) ::SetCurrentDirectoryA(saved);
}

HBITMAP CSetupDlg::LoadSlide(HDC hdc, const CString& path) {
    WCHAR wide[MAX_PATH] = {0};
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return NULL;
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicturePath(wide, NULL, 0, 0, IID_IPicture,
                                    reinterpret_cast<void**>(&picture))) ||
        !picture)
        return NULL;
    OLE_HANDLE handle = 0;
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    picture->get_Handle(&handle);
    picture->get_Width(&himetricWidth);
    picture->get_Height(&himetricHeight);
    HBITMAP image = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP info = {};
    if (!image || himetricWidth <= 0 || himetricHeight <= 0 ||
        !::GetObjectA(image, sizeof(info), &info)) {
        picture->Release();
        return NULL;
    }
    SlideFit fit = FitSlide(static_cast<double>(himetricHeight) / himetricWidth);

    HBITMAP canvas = ::CreateCompatibleBitmap(hdc, kCanvasWidth, kCanvasHeight);
    HDC canvasDC = ::CreateCompatibleDC(hdc);
    HDC imageDC = ::CreateCompatibleDC(hdc);
    HGDIOBJ oldCanvas = ::SelectObject(canvasDC, canvas);
    HGDIOBJ oldImage = ::SelectObject(imageDC, image);
    RECT all = {0, 0, kCanvasWidth, kCanvasHeight};
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH grey = ::CreateSolidBrush(RGB(192, 192, 192));
    ::FillRect(canvasDC, &all, white);
    ::FrameRect(canvasDC, &all, grey);
    ::SetStretchBltMode(canvasDC, HALFTONE);
    ::SetBrushOrgEx(canvasDC, 0, 0, NULL);
    ::StretchBlt(canvasDC, fit.x, fit.y, fit.width, fit.height, imageDC, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
    ::SelectObject(imageDC, oldImage);
    ::SelectObject(canvasDC, oldCanvas);
    ::DeleteDC(imageDC);
    ::DeleteDC(canvasDC);
    ::DeleteObject(white);
    ::DeleteObject(grey);
    picture->Release();  // frees the picture's own bitmap
    return canvas;
}

LRESULT CSetupDlg::OnEraseBkgnd(WPARAM wParam, LPARAM) {
    HDC hdc = reinterpret_cast<HDC>(wParam);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBITMAP canvas = NULL;
    if (m_slideFiles.GetSize() > 0) {
        m_nSlideIndex = SlideToShow(m_nSlideIndex, m_slideFiles.GetSize());
        canvas = LoadSlide(hdc, m_slideFiles[m_nSlideIndex]);
    }
    if (!canvas) {
        // No pictures, or this one cannot be loaded: plain teal.
        HBRUSH teal = ::CreateSolidBrush(kNoPictureColour);
        ::FillRect(hdc, &client, teal);
        ::DeleteObject(teal);
        return TRUE;
    }
    HDC memory = ::CreateCompatibleDC(hdc);
    HGDIOBJ old = ::SelectObject(memory, canvas);
    BITMAP size = {};
    ::GetObjectA(canvas, sizeof(size), &size);
    ::SetStretchBltMode(hdc, HALFTONE);
    ::SetBrushOrgEx(hdc, 0, 0, NULL);
    ::StretchBlt(hdc, client.left, client.top, client.right - client.left,
                 client.bottom - client.top, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(canvas);
    return TRUE;
}

LRESULT CSetupDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kSlideTimer) {
        ++m_nSlideIndex;
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    }
    return 0;
}

LRESULT CSetupDlg::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (::IsIconic(m_hWnd)) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(hdc, x, y, m_hIcon);
    }
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CSetupDlg::OnDestroy(WPARAM, LPARAM) {
    ::KillTimer(m_hWnd, kSlideTimer);
    return 0;
}
