#include "platform/Secrecy.h"

#include <windows.h>

#include <aclapi.h>
#include <atomic>
#include <tlhelp32.h>
#include <vector>

namespace {
// An access list that gives the user UserRights and nothing else, and the owner no more than reading the
// list: without the entry for OWNER RIGHTS the owner could rewrite it and grant itself everything again.
// Empty when the user is not known.
std::vector<unsigned char> OnlyForUser(DWORD UserRights) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    const bool known = size && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    if (!known)
        return {};
    PSID userSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;

    SID_IDENTIFIER_AUTHORITY creator = SECURITY_CREATOR_SID_AUTHORITY;
    PSID ownerRights = nullptr;
    if (!AllocateAndInitializeSid(&creator, 1, SECURITY_CREATOR_OWNER_RIGHTS_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &ownerRights))
        return {};
    const DWORD aclSize =
        sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(userSid) + GetLengthSid(ownerRights);
    std::vector<unsigned char> buffer(aclSize);
    auto* acl = reinterpret_cast<ACL*>(buffer.data());
    const bool made = InitializeAcl(acl, aclSize, ACL_REVISION) &&
                      AddAccessAllowedAce(acl, ACL_REVISION, UserRights, userSid) &&
                      AddAccessAllowedAce(acl, ACL_REVISION, READ_CONTROL, ownerRights);
    FreeSid(ownerRights);
    if (!made)
        buffer.clear();
    return buffer;
}

bool Restrict(HANDLE Object, std::vector<unsigned char>& List) {
    return !List.empty() &&
           SetSecurityInfo(Object, SE_KERNEL_OBJECT,
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                           reinterpret_cast<ACL*>(List.data()), nullptr) == ERROR_SUCCESS;
}

// The user may wait for the process, ask its name and end it; nothing else.
bool OnlyWaitQueryAndEnd() {
    std::vector<unsigned char> list =
        OnlyForUser(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE);
    return Restrict(GetCurrentProcess(), list);
}

// A thread's list: the user may wait for it and ask after it, nothing else; above all not read or set its
// registers, suspend it or impersonate through it (another program could run its own code in it). Made
// once, before any thread is guarded; read by each new thread as it starts. Set through the kernel's own
// call: a new thread sets it while the system's loader is busy with it, where nothing may load a DLL
// (the higher-level call loads one on first use).
std::vector<unsigned char> threadList;
SECURITY_DESCRIPTOR threadDescriptor;
std::atomic<bool> threadListMade{false};

bool GuardThread(HANDLE Thread) {
    return threadListMade.load(std::memory_order_acquire) &&
           SetKernelObjectSecurity(Thread, DACL_SECURITY_INFORMATION, &threadDescriptor);
}

// Every thread started once the list exists guards itself here, before it runs anything of its own:
// the system calls this in each new thread (whoever starts it: the toolkit, the system's thread pool).
void NTAPI GuardNewThread(PVOID, DWORD Reason, PVOID) {
    if (Reason == DLL_THREAD_ATTACH)
        GuardThread(GetCurrentThread());
}
extern "C" __attribute__((section(".CRT$XLY"), used)) const PIMAGE_TLS_CALLBACK zadrinGuardNewThread =
    GuardNewThread;

// The threads running now, this one included; those that start later guard themselves.
bool EveryThreadGuarded() {
    threadList = OnlyForUser(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION);
    if (threadList.empty() ||
        !InitializeSecurityDescriptor(&threadDescriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&threadDescriptor, TRUE, reinterpret_cast<ACL*>(threadList.data()), FALSE))
        return false;
    threadListMade.store(true, std::memory_order_release);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool all = true;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (bool more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        HANDLE thread = OpenThread(WRITE_DAC, FALSE, entry.th32ThreadID);
        if (!thread) {
            all = all && GetLastError() == ERROR_INVALID_PARAMETER; // ended meanwhile
            continue;
        }
        all = GuardThread(thread) && all;
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return all;
}

// Crash reports without the heap. Looked up: older systems and Wine may lack it.
void NoHeapInCrashReports() {
    using SetFlags = HRESULT(WINAPI*)(DWORD);
    constexpr DWORD noHeap = 1; // WER_FAULT_REPORTING_FLAG_NOHEAP
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
        if (auto set =
                reinterpret_cast<SetFlags>(reinterpret_cast<void*>(GetProcAddress(kernel, "WerSetFlags"))))
            set(noHeap);
}

// Every free and realloc linked in overwrites the block where the build has WipeFreed_windows.cpp.
Protections had{false, ZADRIN_WIPES_FREED};
} // namespace

Protections StartProtected(char**) {
    // DLLs loaded from now on (the program's delay-loaded imports among them) come from the system folder
    // alone, never from the program's own.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const bool threads = EveryThreadGuarded();
    had.Unreadable = OnlyWaitQueryAndEnd() && threads;
    NoHeapInCrashReports();
    return had;
}

Protections ProtectionsHad() {
    return had;
}

void KeepOutOfSwap(const void* Data, qsizetype Bytes) {
    // Only the newest is held: the process may lock no more than its minimum working set (about 200 KB),
    // so locking every key would leave later keys silently unlocked.
    static void* kept = nullptr;
    static SIZE_T keptBytes = 0;
    if (kept)
        VirtualUnlock(kept, keptBytes);
    kept = VirtualLock(const_cast<void*>(Data), SIZE_T(Bytes)) ? const_cast<void*>(Data) : nullptr;
    keptBytes = SIZE_T(Bytes);
}
