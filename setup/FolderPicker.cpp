#include "FolderPicker.h"

#include <cstring>

#include "../framework/AfxDialog.h"
#include "../framework/AfxHandle.h"

CFolderPicker::CFolderPicker(HWND owner, LPCITEMIDLIST root, UINT titleId) {
    SetOwner(owner);
    SetRoot(root);
    SetTitle(static_cast<int>(titleId));
    m_info.pszDisplayName = m_szPath;
    m_info.lpfn = &CFolderPicker::BrowseCallback;
    m_info.lParam = reinterpret_cast<LPARAM>(this);
}

CFolderPicker::~CFolderPicker() {
    if (m_bOwnTitle) delete[] m_pszTitle;
}

void CFolderPicker::SetOwner(HWND owner) {
    if (!m_hDialog) m_info.hwndOwner = owner;
}

void CFolderPicker::SetRoot(LPCITEMIDLIST root) {
    if (!m_hDialog) m_info.pidlRoot = root;
}

void CFolderPicker::SetFlags(UINT flags) {
    if (!m_hDialog) m_info.ulFlags = flags;
}

BOOL CFolderPicker::SetTitle(int titleId) {
    if (titleId <= 0) return FALSE;
    char text[1024];
    int length =
        ::LoadStringA(AfxGetInstanceHandle(), static_cast<UINT>(titleId), text, sizeof(text));
    if (length <= 0) return FALSE;
    if (m_hDialog) return TRUE;  // the open dialog keeps its title
    char* copy = new char[static_cast<size_t>(length) + 1];
    memcpy(copy, text, static_cast<size_t>(length));
    copy[length] = '\0';
    if (m_bOwnTitle) delete[] m_pszTitle;
    m_pszTitle = copy;
    m_bOwnTitle = true;
    m_info.lpszTitle = m_pszTitle;
    return TRUE;
}

BOOL CFolderPicker::Browse() {
    BOOL chosen = FALSE;
    LPITEMIDLIST item = ::SHBrowseForFolderA(&m_info);
    if (item) {
        m_strChosen.Empty();
        if (::SHGetPathFromIDListA(item, m_szPath)) {
            m_strChosen = m_szPath;
            chosen = TRUE;
        }
        CComPtr<IMalloc> allocator;
        if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) allocator->Free(item);
    }
    m_hDialog = NULL;
    return chosen;
}

void CFolderPicker::SetSelection(LPCSTR path) const {
    if (m_hDialog)
        ::SendMessageA(m_hDialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path));
}

void CFolderPicker::SetStatusText(LPCSTR text) const {
    if (m_hDialog)
        ::SendMessageA(m_hDialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

int CALLBACK CFolderPicker::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data) {
    CFolderPicker* picker = reinterpret_cast<CFolderPicker*>(data);
    if (!picker) return 0;
    picker->m_hDialog = hWnd;
    if (message == BFFM_INITIALIZED) picker->OnInitialized();
    else if (message == BFFM_SELCHANGED)
        picker->OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

CPresetFolderPicker::CPresetFolderPicker(HWND owner, UINT titleId)
    : CFolderPicker(owner, nullptr, titleId) {}

void CPresetFolderPicker::OnInitialized() {
    SetSelection(m_strStartFolder);
    SetStatusText(m_strStartFolder);
}

void CPresetFolderPicker::OnSelChanged(LPCITEMIDLIST item) {
    char path[MAX_PATH] = {0};
    if (!item || !::SHGetPathFromIDListA(item, path)) path[0] = '\0';
    SetStatusText(path);
}
