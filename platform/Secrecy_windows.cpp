#include "platform/Secrecy.h"

#include <windows.h>

#include <aclapi.h>
#include <vector>

namespace {
// The user may wait for the process, ask its name and end it; nothing else. Without the entry for OWNER
// RIGHTS the owner could rewrite this list and grant itself everything again.
bool OnlyWaitQueryAndEnd() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    const bool known = size && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    if (!known)
        return false;
    PSID userSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;

    SID_IDENTIFIER_AUTHORITY creator = SECURITY_CREATOR_SID_AUTHORITY;
    PSID ownerRights = nullptr;
    if (!AllocateAndInitializeSid(&creator, 1, SECURITY_CREATOR_OWNER_RIGHTS_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &ownerRights))
        return false;
    const DWORD aclSize =
        sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(userSid) + GetLengthSid(ownerRights);
    std::vector<unsigned char> buffer(aclSize);
    auto* acl = reinterpret_cast<ACL*>(buffer.data());
    const bool set =
        InitializeAcl(acl, aclSize, ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION,
                            SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, userSid) &&
        AddAccessAllowedAce(acl, ACL_REVISION, READ_CONTROL, ownerRights) &&
        SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        acl, nullptr) == ERROR_SUCCESS;
    FreeSid(ownerRights);
    return set;
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
    had.Unreadable = OnlyWaitQueryAndEnd();
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
