#include "AfxDebug.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

void AfxAssertFailed(const char* file, int line, const char* condition) {
    char text[1024];
    std::snprintf(text, sizeof(text), "%s(%d): AFXASSERT(%s) failed\r\n", file, line, condition);
    ::OutputDebugStringA(text);
    // Unbuffered, and whether or not the C library set up its streams.
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(error, text, static_cast<DWORD>(std::strlen(text)), &written, NULL);
    }
    if (::IsDebuggerPresent()) ::DebugBreak();
    // Any thread may fail: end the whole process at once, without running
    // the other threads' clean-up over the broken state.
    ::TerminateProcess(::GetCurrentProcess(), STATUS_ASSERTION_FAILURE);
    ::ExitProcess(STATUS_ASSERTION_FAILURE);
}
