// Owners of the system's handles: kernel objects (files, processes,
// threads), loaded libraries and COM interface pointers (registry keys:
// CRegKey in AfxRegistry.h).
// Each closes what it holds in its destructor, cannot be copied, and can
// be moved; Attach takes over a handle (closing the one held before) and
// Detach gives it up without closing it.  The GDI owners are in AfxGdi.h.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

// The common part of the owners below: a handle of type T that Traits
// tells how to recognise and how to free.
template <class T, class Traits>
class CHandleT {
public:
    CHandleT() = default;
    explicit CHandleT(T h) : m_h(h) {}
    ~CHandleT() { Close(); }
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;
    CHandleT(CHandleT&& other) noexcept : m_h(other.Detach()) {}
    CHandleT& operator=(CHandleT&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    bool IsValid() const { return Traits::IsValid(m_h); }
    operator T() const { return m_h; }
    T Get() const { return m_h; }

    void Attach(T h) {
        Close();
        m_h = h;
    }
    T Detach() {
        T h = m_h;
        m_h = T();
        return h;
    }
    void Close() {
        if (IsValid()) Traits::Free(m_h);
        m_h = T();
    }

protected:
    T m_h = T();
};

struct CKernelHandleTraits {
    // The system uses NULL or INVALID_HANDLE_VALUE for "none", depending
    // on the function.
    static bool IsValid(HANDLE h) { return h != NULL && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct CRegKeyTraits {
    static bool IsValid(HKEY key) { return key != NULL; }
    static void Free(HKEY key) { ::RegCloseKey(key); }
};
struct CLibraryTraits {
    static bool IsValid(HMODULE module) { return module != NULL; }
    static void Free(HMODULE module) { ::FreeLibrary(module); }
};

// A kernel handle: a file, process, thread or job object.
using CHandle = CHandleT<HANDLE, CKernelHandleTraits>;

// The process and thread handles CreateProcess gives back.
struct CProcessHandles {
    CHandle process;
    CHandle thread;

    // Takes over the handles of info.
    void Attach(const PROCESS_INFORMATION& info) {
        process.Attach(info.hProcess);
        thread.Attach(info.hThread);
    }
};

// A loaded library.
class CLibrary : public CHandleT<HMODULE, CLibraryTraits> {
public:
    CLibrary() = default;
    explicit CLibrary(HMODULE module) : CHandleT(module) {}

    // The exported function name as a pointer of type Fn, or null.  Goes
    // through void (*)(), the generic function type that any entry point
    // may be cast from without a warning.
    template <typename Fn>
    Fn GetProc(LPCSTR name) const {
        if (!m_h) return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(m_h, name)));
    }
};

// A COM interface pointer, released by the destructor.  &ptr gives the
// address to receive a new pointer (releasing the one held).
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T** operator&() {
        Release();
        return &m_p;
    }
    // For the functions that take the address as void**.
    void** ReceiveVoid() { return reinterpret_cast<void**>(operator&()); }

    void Release() {
        if (m_p) m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};
