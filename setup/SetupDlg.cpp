#include "SetupDlg.h"

#include <ole2.h>
#include <olectl.h>

#include "../framework/AfxFile.h"
#include "../framework/AfxGdi.h"
#include "../common/install_log.h"
#include "../common/paths.h"
#include "../common/product_v8.h"
#include "../framework/AfxHandle.h"
#include "../framework/AfxLog.h"
#include "../framework/AfxModule.h"
#include "../framework/AfxRegistry.h"
#include "../resources/setup/resource.h"
#include "CopyPage.h"
#include "SetupThread.h"
#include "WizardPages.h"

namespace {

const COLORREF kNoPictureColour = RGB(0, 128, 128);

}  // namespace

const char CSetupDlg::kDefaultDestDir[] = "C:\\Program Files\\Corvantix\\Quilm\\";

CSetupDlg::CSetupDlg(CWnd* pParent) : CDialog(IDD_SETUP_DIALOG, pParent) {}

CSetupDlg::~CSetupDlg() = default;

BOOL CSetupDlg::IsInstalled() {
    // Opened with create semantics: a missing key is left behind, empty.
    // Only whether the value exists counts, whatever its type or length.
    CRegKey key;
    return key.CreateWithAnyAccess(HKEY_LOCAL_MACHINE, v8::kProductKey, kRegView32) ==
               ERROR_SUCCESS &&
           key.HasValue(kInstallPathValue);
}

std::string CSetupDlg::DefaultDestination(const std::string& dir) {
    if (!dir.empty()) return dir;
    // A reinstall goes where the earlier installation is, so that its
    // record, entry and keys stay one installation's.
    CString earlier;
    if (GetMachineString(kRegView32, v8::kProductKey, kInstallPathValue, earlier) &&
        !TrimBlanks(earlier.str()).empty()) {
        const std::string folder = WithTrailingBackslash(TrimBlanks(earlier.str()));
        const DWORD record = ::GetFileAttributesA((folder + kRecordFileName).c_str());
        if (record != INVALID_FILE_ATTRIBUTES && !(record & FILE_ATTRIBUTE_DIRECTORY)) {
            AfxLog("earlier installation in %s: offered as the destination", folder.c_str());
            return folder;
        }
    }
    return kDefaultDestDir;
}

BOOL CSetupDlg::AskQuit() const {
    return MessageBox(AfxLoadString(IDS_QUIT_QUESTION), AfxLoadString(IDS_WIZARD_TITLE),
                      MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcons(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)));

    m_data.strSourceDir = FolderOfProgram(AfxGetModulePath());
    BuildSlideList(CString(m_data.strSourceDir) + "\\" + v8::kSlideFolder + "\\", "*.jpg",
                   m_slideFiles);

    if (IsInstalled() &&
        MessageBox(AfxLoadString(IDS_REINSTALL_QUESTION), AfxLoadString(IDS_REINSTALL_CAPTION),
                   MB_YESNO | MB_ICONQUESTION) != IDYES) {
        AfxLog("installed already: not installed again");
        PostMessage(WM_CLOSE);
        return FALSE;
    }

    SetWindowText(AfxLoadString(IDS_WIZARD_TITLE));
    m_data.bAgreement = false;
    m_data.strDestDir = DefaultDestination(m_strDefaultDir);
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
        m_nExitCode = copy.ExitCode();
        PostMessage(WM_CLOSE);
    }
    return TRUE;
}

void CSetupDlg::BuildSlideList(const CString& folder, LPCSTR pattern, CStringArray& files) {
    CStringArray names;
    AfxListFiles(folder, pattern, names);
    files.RemoveAll();
    for (int i = 0; i < names.GetSize(); ++i) files.Add(folder + names[i]);
}

HBITMAP CSetupDlg::LoadSlide(HDC hdc, const CString& path) {
    WCHAR wide[MAX_PATH] = {0};
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH)) return NULL;
    CComPtr<IPicture> picture;  // owns the picture's own bitmap
    if (FAILED(::OleLoadPicturePath(wide, NULL, 0, 0, IID_IPicture, picture.ReceiveVoid())) ||
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
        !::GetObjectA(image, sizeof(info), &info))
        return NULL;
    SlideFit fit = FitSlide(static_cast<double>(himetricHeight) / himetricWidth);

    CBitmap canvas;
    canvas.CreateCompatibleBitmap(hdc, kCanvasWidth, kCanvasHeight);
    CDC canvasDC, imageDC;
    canvasDC.CreateCompatibleDC(hdc);
    imageDC.CreateCompatibleDC(hdc);
    {
        CSelectObject canvasSelection(canvasDC, canvas);
        CSelectObject imageSelection(imageDC, image);
        RECT all = {0, 0, kCanvasWidth, kCanvasHeight};
        ::FillRect(canvasDC, &all, CBrush(RGB(255, 255, 255)));
        ::FrameRect(canvasDC, &all, CBrush(RGB(192, 192, 192)));
        ::SetStretchBltMode(canvasDC, HALFTONE);
        ::SetBrushOrgEx(canvasDC, 0, 0, NULL);
        ::StretchBlt(canvasDC, fit.x, fit.y, fit.width, fit.height, imageDC, 0, 0, info.bmWidth,
                     info.bmHeight, SRCCOPY);
    }
    return static_cast<HBITMAP>(canvas.Detach());
}

LRESULT CSetupDlg::OnEraseBkgnd(WPARAM wParam, LPARAM) {
    HDC hdc = reinterpret_cast<HDC>(wParam);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CBitmap canvas;
    if (m_slideFiles.GetSize() > 0) {
        m_nSlideIndex = SlideToShow(m_nSlideIndex, m_slideFiles.GetSize());
        canvas.Attach(LoadSlide(hdc, m_slideFiles[m_nSlideIndex]));
    }
    if (!canvas.GetSafeHandle()) {
        // No pictures, or this one cannot be loaded: plain teal.
        ::FillRect(hdc, &client, CBrush(kNoPictureColour));
        return TRUE;
    }
    CDC memory;
    memory.CreateCompatibleDC(hdc);
    CSelectObject selection(memory, canvas);
    BITMAP size = {};
    ::GetObjectA(canvas, sizeof(size), &size);
    ::SetStretchBltMode(hdc, HALFTONE);
    ::SetBrushOrgEx(hdc, 0, 0, NULL);
    ::StretchBlt(hdc, client.left, client.top, client.right - client.left,
                 client.bottom - client.top, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    return TRUE;
}

LRESULT CSetupDlg::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == kSlideTimer) {
        ++m_nSlideIndex;
        ::InvalidateRect(m_hWnd, NULL, TRUE);
    }
    return 0;
}

LRESULT CSetupDlg::OnDestroy(WPARAM, LPARAM) {
    ::KillTimer(m_hWnd, kSlideTimer);
    return 0;
}
