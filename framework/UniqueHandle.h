// UniqueHandle: owns one handle of some kind and releases it when it goes out of scope.
// A traits type gives the kind: its null value and how to release it.
#pragma once
#include <windows.h>
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    bool IsValid() const { return !Traits::IsNull(m_handle); }
    explicit operator bool() const { return IsValid(); }

    Handle Release() { return std::exchange(m_handle, Traits::Null()); }
    void Reset(Handle handle = Traits::Null())
    {
        if (!Traits::IsNull(m_handle))
            Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = Traits::Null();
};

// A kernel object handle (process, thread, file): null and INVALID_HANDLE_VALUE both mean none.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Null() { return nullptr; }
    static bool IsNull(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// A COM interface pointer.
template <typename Interface>
struct ComPtrTraits {
    using Handle = Interface*;
    static Handle Null() { return nullptr; }
    static bool IsNull(Handle p) { return p == nullptr; }
    static void Close(Handle p) { p->Release(); }
};
template <typename Interface>
using ComPtr = UniqueHandle<ComPtrTraits<Interface>>;

// A file search of FindFirstFileA: INVALID_HANDLE_VALUE means none, FindClose ends it.
struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Null() { return INVALID_HANDLE_VALUE; }
    static bool IsNull(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// An icon loaded from resources without LR_SHARED.
struct IconHandleTraits {
    using Handle = HICON;
    static Handle Null() { return nullptr; }
    static bool IsNull(Handle h) { return h == nullptr; }
    static void Close(Handle h) { ::DestroyIcon(h); }
};
using IconHandle = UniqueHandle<IconHandleTraits>;

// Memory that the system allocated with LocalAlloc for the caller: security descriptors and
// SID texts of the conversion functions, descriptors read back from an object.
template <typename Pointee>
struct LocalMemoryTraits {
    using Handle = Pointee*;
    static Handle Null() { return nullptr; }
    static bool IsNull(Handle p) { return p == nullptr; }
    static void Close(Handle p) { ::LocalFree(p); }
};
template <typename Pointee>
using LocalMemory = UniqueHandle<LocalMemoryTraits<Pointee>>;
