// A gallery of the custom controls: shaded buttons of all nine styles and
// their states, percentage progress bars and colour labels in one dialog.
//
//     gallery.exe                      shows the dialog
//     gallery.exe --capture out.bmp    paints it, saves the client area as
//                                      a 24-bit BMP and exits
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/ColorLabel.h"
#include "controls/PercentProgressCtrl.h"
#include "controls/ShadedButton.h"
#include "framework/AfxGdi.h"

namespace {

enum : WORD {
    IdTitle = 100,
    IdNote = 101,
    IdStyleFirst = 200,  // 200..208: one button per style
    IdDisabled = 210,
    IdCheck = 211,
    IdRadioA = 212,
    IdRadioB = 213,
    IdNext = 214,
    IdCancel = 215,
    IdProgress = 300,
    IdProgressText = 301
};

const UINT WM_GALLERY_CAPTURE = WM_APP + 1;

class Template {
public:
    Template(const char* title, int cx, int cy) {
        const DWORD style =
            WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME | DS_CENTER;
        Word(LOWORD(style));
        Word(HIWORD(style));
        Word(0);
        Word(0);
        Word(0);  // count
        Word(0);
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);
        Word(0);
        Text(title);
        Word(9);
        Text("宋体");
    }
    void Add(const char* cls, const char* text, WORD id, int x, int y, int cx, int cy,
             DWORD style) {
        if (m_words.size() % 2) Word(0);
        style |= WS_CHILD | WS_VISIBLE;
        Word(LOWORD(style));
        Word(HIWORD(style));
        Word(0);
        Word(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Text(cls);
        Text(text);
        Word(0);
        ++m_words[4];
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Text(const char* text) {
        int n = ::MultiByteToWideChar(936, 0, text, -1, NULL, 0);
        std::vector<wchar_t> wide(static_cast<size_t>(n));
        ::MultiByteToWideChar(936, 0, text, -1, wide.data(), n);
        for (wchar_t c : wide) Word(static_cast<WORD>(c));
    }
    std::vector<WORD> m_words;
};

const char* const kStyleNames[9] = {"0 噪点",   "1 斜向",     "2 行渐变",   "3 列渐变", "4 行凸起",
                                    "5 列凸起", "6 柔和凸起", "7 圆角凸起", "8 笔触"};

struct Gallery {
    CShadedButton styles[9];
    CShadedButton disabled, check, radioA, radioB, next, cancel;
    CColorLabel title, note;
    CPercentProgressCtrl progress, progressText;
    std::string capturePath;
    bool captured = false;
};

bool SaveBitmap(HWND hwnd, const std::string& path) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    const int w = rc.right, h = rc.bottom;
    CClientDC windowDC(hwnd);
    CDC mem;
    mem.CreateCompatibleDC(windowDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(windowDC, w, h);
    {
        CSelectObject selection(mem, bitmap);
        mem.BitBlt(0, 0, w, h, windowDC, 0, 0, SRCCOPY);
    }

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = ((24u * w + 31) / 32) * 4;
    info.biSizeImage = stride * h;
    std::vector<BYTE> bits(info.biSizeImage);
    const int rows = ::GetDIBits(mem, bitmap, 0, h, bits.data(),
                                 reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (rows != h) return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
              std::fwrite(&info, sizeof(info), 1, out) == 1 &&
              std::fwrite(bits.data(), 1, bits.size(), out) == bits.size();
    ok = std::fclose(out) == 0 && ok;
    return ok;
}

void Init(HWND hwnd, Gallery& g) {
    for (int i = 0; i < 9; ++i) {
        g.styles[i].SubclassDlgItem(IdStyleFirst + i, hwnd);
        g.styles[i].GenerateFaces(static_cast<uint32_t>(i), 8, 10, 0, 0);
    }
    g.disabled.SubclassDlgItem(IdDisabled, hwnd);
    g.disabled.GenerateFaces(7, 8, 10, 0, 0);
    g.check.SubclassDlgItem(IdCheck, hwnd);
    g.check.GenerateFaces(2, 8, 10, 30, RGB(0, 128, 0));
    g.check.SendMessage(BM_SETCHECK, TRUE);
    g.radioA.SubclassDlgItem(IdRadioA, hwnd);
    g.radioA.GenerateFaces(4, 8, 10, 30, RGB(0, 0, 200));
    g.radioB.SubclassDlgItem(IdRadioB, hwnd);
    g.radioB.GenerateFaces(4, 8, 10, 30, RGB(0, 0, 200));
    g.radioB.SendMessage(BM_SETCHECK, TRUE);
    g.next.SubclassDlgItem(IdNext, hwnd);
    g.next.GenerateFaces(7, 8, 10, 0, 0);
    g.cancel.SubclassDlgItem(IdCancel, hwnd);
    g.cancel.GenerateFaces(6, 8, 10, 0, 0);

    g.title.SubclassDlgItem(IdTitle, hwnd);
    g.title.SetShadow(1);
    g.note.SubclassDlgItem(IdNote, hwnd);

    g.progress.SubclassDlgItem(IdProgress, hwnd);
    g.progress.SetRange(0, 100);
    g.progress.SetStep(1);
    g.progress.EnableText(1);
    g.progress.SetPos(50);
    g.progressText.SubclassDlgItem(IdProgressText, hwnd);
    g.progressText.SetRange(0, 3);
    g.progressText.SetPos(2);
    ::SetWindowTextA(g.progressText.m_hWnd, "正在复制文件……");
}

INT_PTR CALLBACK GalleryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Gallery* g = reinterpret_cast<Gallery*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        g = reinterpret_cast<Gallery*>(lParam);
        Init(hwnd, *g);
        if (!g->capturePath.empty()) ::PostMessageA(hwnd, WM_GALLERY_CAPTURE, 0, 0);
        return TRUE;
    case WM_DRAWITEM:
        if (lParam) {
            HWND control = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
            LRESULT r = ::SendMessageA(control, WM_REFLECT_DRAWITEM_MSG, wParam, lParam);
            ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, r);
            return r != 0;
        }
        return FALSE;
    case WM_GALLERY_CAPTURE:
        // The dialog shows itself only once its loop goes idle: show and
        // paint it now.
        ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::RedrawWindow(hwnd, NULL, NULL,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        g->captured = SaveBitmap(hwnd, g->capturePath);
        ::EndDialog(hwnd, g->captured ? IDOK : IDABORT);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IdNext && g) {
            g->progress.StepIt();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IdCancel) {
            ::EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    Gallery gallery;
    // Arguments: --capture <file.bmp>
    for (int i = 1; i + 1 < __argc; ++i)
        if (std::strcmp(__argv[i], "--capture") == 0) gallery.capturePath = __argv[i + 1];

    Template t("控件样例", 330, 210);
    t.Add("STATIC", "土地整理规划设计软件 Quilm V8.5", IdTitle, 10, 6, 310, 14, SS_LEFT);
    t.Add("STATIC", "九种按钮样式、进度条与彩色标签。把鼠标移到按钮上可以看到高亮效果。", IdNote,
          10, 22, 310, 18, SS_LEFT);
    for (int i = 0; i < 9; ++i) {
        const int col = i % 3, row = i / 3;
        t.Add("BUTTON", kStyleNames[i], static_cast<WORD>(IdStyleFirst + i), 10 + col * 105,
              44 + row * 20, 95, 16, BS_PUSHBUTTON | WS_TABSTOP);
    }
    t.Add("BUTTON", "禁用", IdDisabled, 10, 108, 95, 16, BS_PUSHBUTTON | WS_DISABLED);
    t.Add("BUTTON", "复选", IdCheck, 115, 108, 60, 16, BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP);
    t.Add("BUTTON", "单选 A", IdRadioA, 185, 108, 60, 16,
          BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
    t.Add("BUTTON", "单选 B", IdRadioB, 255, 108, 60, 16, BS_AUTORADIOBUTTON);
    t.Add("msctls_progress32", "", IdProgress, 10, 132, 310, 14, WS_BORDER | WS_GROUP);
    t.Add("msctls_progress32", "", IdProgressText, 10, 152, 310, 14, WS_BORDER);
    t.Add("BUTTON", "下一步", IdNext, 150, 182, 80, 18, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP);
    t.Add("BUTTON", "取消", IdCancel, 240, 182, 80, 18, BS_PUSHBUTTON | WS_TABSTOP);

    INT_PTR r = ::DialogBoxIndirectParamA(instance, t.Get(), NULL, &GalleryProc,
                                          reinterpret_cast<LPARAM>(&gallery));
    if (!gallery.capturePath.empty()) return gallery.captured ? 0 : 1;
    return r == -1 ? 1 : 0;
}
