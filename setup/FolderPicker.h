// CFolderPicker: the shell's folder-browse dialog (SHBrowseForFolderA),
// with hooks called from the dialog's callback.  CPresetFolderPicker opens
// the dialog at a start folder and shows the folder under the selection as
// the dialog's status text.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "../framework/AfxString.h"

class CFolderPicker {
public:
    CFolderPicker(HWND owner, LPCITEMIDLIST root, UINT titleId);
    virtual ~CFolderPicker();
    CFolderPicker(const CFolderPicker&) = delete;
    CFolderPicker& operator=(const CFolderPicker&) = delete;

    // Setters are ignored while the dialog is open.
    void SetOwner(HWND owner);
    void SetRoot(LPCITEMIDLIST root);
    void SetFlags(UINT flags);
    // Loads the title from the string table; FALSE for an identifier <= 0
    // or a string that cannot be loaded.
    BOOL SetTitle(int titleId);

    // The chosen folder's display name, then its full path.
    CString GetPath() const { return CString(m_szPath); }
    // The chosen folder after a successful Browse.
    const CString& GetChosenPath() const { return m_strChosen; }

    // Shows the dialog; TRUE when a folder with a file-system path was chosen.
    BOOL Browse();

    // While the dialog is open: select a folder by its path / show a text
    // on the dialog's status line.  Nothing happens when it is closed.
    void SetSelection(LPCSTR path) const;
    void SetStatusText(LPCSTR text) const;

    HWND GetDialogWindow() const { return m_hDialog; }

protected:
    virtual void OnInitialized() {}
    virtual void OnSelChanged(LPCITEMIDLIST) {}

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);

    bool m_bOwnTitle = false;
    char* m_pszTitle = nullptr;
    BROWSEINFOA m_info = {};
    char m_szPath[MAX_PATH] = {0};
    CString m_strChosen;
    HWND m_hDialog = NULL;
};

class CPresetFolderPicker : public CFolderPicker {
public:
    CPresetFolderPicker(HWND owner, UINT titleId);
    ~CPresetFolderPicker() override = default;

    void SetStartFolder(LPCSTR folder) { m_strStartFolder = folder; }

protected:
    void OnInitialized() override;
    void OnSelChanged(LPCITEMIDLIST item) override;

private:
    CString m_strStartFolder;
};
