#include "toolkit/later_calls.h"

#include <atomic>

namespace {

template <typename Call>
Call kernelCall(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

struct IoStatus {
    union {
        LONG status;
        void* pointer;
    };
    ULONG_PTR information;
};
using FileInformationCall = LONG(NTAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
constexpr int fileInternalInformation = 6;

FileInformationCall nativeCall(const char* name) {
    return reinterpret_cast<FileInformationCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

bool NativeQueryFile(HANDLE file, int informationClass, void* buffer, unsigned long size) {
    static const auto query = nativeCall("NtQueryInformationFile");
    IoStatus status{};
    return query && query(file, &status, buffer, size, informationClass) >= 0;
}

HANDLE NativeOpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access) {
    struct CountedText {
        USHORT length, maximumLength;
        const wchar_t* buffer;
    };
    struct ObjectAttributes {
        ULONG length;
        HANDLE root;
        CountedText* name;
        ULONG attributes;
        void* securityDescriptor;
        void* securityQuality;
    };
    using CreateCall = LONG(NTAPI*)(HANDLE*, ACCESS_MASK, ObjectAttributes*, IoStatus*, LARGE_INTEGER*, ULONG, ULONG,
                                    ULONG, ULONG, void*, ULONG);
    static const auto create = reinterpret_cast<CreateCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateFile")));
    if (!create || !folder || name.empty() || name.size() > 32767) return INVALID_HANDLE_VALUE;
    constexpr ULONG fileOpen = 1, synchronousIo = 0x20, notAFolder = 0x40, openReparsePoint = 0x200000;
    CountedText text{static_cast<USHORT>(name.size() * 2), static_cast<USHORT>(name.size() * 2), name.c_str()};
    ObjectAttributes attributes{sizeof(ObjectAttributes), folder, &text, 0, nullptr, nullptr};
    IoStatus status{};
    HANDLE file = nullptr;
    if (create(&file, access | SYNCHRONIZE, &attributes, &status, nullptr, 0,
               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, fileOpen,
               synchronousIo | notAFolder | openReparsePoint, nullptr, 0) < 0)
        return INVALID_HANDLE_VALUE;
    return file;
}

bool NativeSetFile(HANDLE file, int informationClass, void* buffer, unsigned long size) {
    static const auto set = nativeCall("NtSetInformationFile");
    IoStatus status{};
    return set && set(file, &status, buffer, size, informationClass) >= 0;
}

std::wstring FinalPathOfHandle(HANDLE file) {
    const auto finalPathName = getFinalPathNameByHandle();
    if (!finalPathName) return {};
    std::wstring final(1024, L'\0');
    DWORD length = finalPathName(file, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = finalPathName(file, final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (length == 0 || length >= final.size()) return {};
    final.resize(length);
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + final.substr(8);
    if (final.compare(0, 4, L"\\\\?\\") == 0) return final.substr(4);
    return final;
}

unsigned long long FileIndexOfHandle(HANDLE file) {
    LARGE_INTEGER index{};
    if (NativeQueryFile(file, fileInternalInformation, &index, sizeof index))
        return static_cast<unsigned long long>(index.QuadPart);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information)) return 0;
    return (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
}

PathIdentity IdentityOfHandle(HANDLE file) {
    PathIdentity identity;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file, &information)) return identity;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    identity.known = true;
    return identity;
}

GetInfoByHandleExCall getFileInformationByHandleEx() {
    static const auto call = kernelCall<GetInfoByHandleExCall>("GetFileInformationByHandleEx");
    return call;
}

FinalPathNameCall getFinalPathNameByHandle() {
    static const auto call = kernelCall<FinalPathNameCall>("GetFinalPathNameByHandleW");
    return call;
}

#if defined(__MINGW32__)
// The thread library linked into the program (winpthreads) imports GetTickCount64,
// which Windows XP lacks: the program would not even load there. This import slot
// answers in its place with the system's own call where there is one, else with a
// count made from GetTickCount that goes past its wrap at 49.7 days (as long as it
// is asked at least once in each of them).
namespace {

ULONGLONG WINAPI tickCountFromTheOldCall() {
    static std::atomic<ULONGLONG> last{0};
    ULONGLONG previous = last.load();
    for (;;) {
        ULONGLONG next = (previous & ~0xFFFFFFFFULL) | GetTickCount();
        if (next < previous) next += 0x100000000ULL;
        if (last.compare_exchange_weak(previous, next)) return next;
    }
}

ULONGLONG WINAPI tickCount64() {
    using TickCountCall = ULONGLONG(WINAPI*)();
    static const auto system = kernelCall<TickCountCall>("GetTickCount64");
    return system ? system() : tickCountFromTheOldCall();
}

}  // namespace

extern "C" {
#if defined(_WIN64)
ULONGLONG(WINAPI* __imp_GetTickCount64)() = tickCount64;
#else
ULONGLONG(WINAPI* importedTickCount64)() __asm__("__imp__GetTickCount64@0") = tickCount64;
#endif
}
#endif
