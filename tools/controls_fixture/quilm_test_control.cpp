// Test control library.  DllRegisterServer sets
// HKCU\Software\QuilmTest\Controls\<own file name> = "registered";
// DllUnregisterServer sets it to "unregistered" while its own file still
// exists, "unregistered-file-missing" otherwise.  A file name containing
// "fail" (any case) makes both entry points return E_FAIL, and
// DllRegisterServer then writes nothing.  One containing "hold" holds its
// caller in DllUnregisterServer: it notes "holding" and waits until the
// event "QuilmTestControlRelease", when there is one, is set (at most two
// minutes).
#include <windows.h>

#include <cstring>
#include <string>

namespace {

HMODULE g_module = NULL;

const char kKey[] = "Software\\QuilmTest\\Controls";

std::string OwnPath() {
    char path[MAX_PATH * 4] = "";
    DWORD n = ::GetModuleFileNameA(g_module, path, sizeof(path));
    return std::string(path, n < sizeof(path) ? n : 0);
}

std::string NamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool NameSays(const std::string& name, const char* word) {
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find(word) != std::string::npos;
}

void Note(const std::string& name, const char* text) {
    HKEY key = NULL;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>(strlen(text) + 1));
    ::RegCloseKey(key);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    std::string name = NamePart(OwnPath());
    if (NameSays(name, "fail")) return E_FAIL;
    Note(name, "registered");
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    std::string path = OwnPath();
    std::string name = NamePart(path);
    if (NameSays(name, "fail")) return E_FAIL;
    if (NameSays(name, "hold")) {
        Note(name, "holding");
        HANDLE release = ::OpenEventA(SYNCHRONIZE, FALSE, "QuilmTestControlRelease");
        if (release) {
            ::WaitForSingleObject(release, 120000);
            ::CloseHandle(release);
        }
    }
    bool present = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    Note(name, present ? "unregistered" : "unregistered-file-missing");
    return S_OK;
}
