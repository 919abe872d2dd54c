// Looks at the running Zadrin from outside, as another program of the same user: "clipboard" checks
// that the clipboard holds text marked for clipboard histories to stay away; "process" checks that the
// program's window belongs to a process whose memory others cannot read, and whose access list lets
// them wait for, query and end it and nothing else. (That OWNER RIGHTS also keeps the owner from
// rewriting the list is Windows' rule, and Wine reports no list as protected from inheritance: neither
// is tried here.)
// Says what it found; exit status 0 when all is as it should be.
#include <windows.h>

#include <aclapi.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
int Fail(const char* what) {
    std::printf("FAIL: %s\n", what);
    return 1;
}

// The data of the registered clipboard format Name, or "" when it is not there.
std::string FormatData(const wchar_t* name) {
    const UINT format = RegisterClipboardFormatW(name);
    HANDLE data = GetClipboardData(format);
    if (!data)
        return {};
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    std::string copy(bytes, GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

int Clipboard() {
    if (!OpenClipboard(nullptr))
        return Fail("the clipboard could not be opened");
    const bool text = IsClipboardFormatAvailable(CF_UNICODETEXT);
    const std::string exclude = FormatData(L"ExcludeClipboardContentFromMonitorProcessing");
    const std::string history = FormatData(L"CanIncludeInClipboardHistory");
    const std::string cloud = FormatData(L"CanUploadToCloudClipboard");
    CloseClipboard();
    if (!text)
        return Fail("no text on the clipboard");
    // The toolkit may round a block up; what counts are its first four bytes.
    if (exclude.size() < 4 || std::memcmp(exclude.data(), "\1\0\0\0", 4) != 0)
        return Fail("ExcludeClipboardContentFromMonitorProcessing is not 01 00 00 00");
    if (history.size() < 4 || std::memcmp(history.data(), "\0\0\0\0", 4) != 0)
        return Fail("CanIncludeInClipboardHistory is not the DWORD 0");
    if (cloud.size() < 4 || std::memcmp(cloud.data(), "\0\0\0\0", 4) != 0)
        return Fail("CanUploadToCloudClipboard is not the DWORD 0");
    std::printf("clipboard: text, marked secret\n");
    return 0;
}

bool IsOwnerRights(PSID sid) {
    SID_IDENTIFIER_AUTHORITY creator = SECURITY_CREATOR_SID_AUTHORITY;
    PSID ownerRights = nullptr;
    AllocateAndInitializeSid(&creator, 1, SECURITY_CREATOR_OWNER_RIGHTS_RID, 0, 0, 0, 0, 0, 0, 0,
                             &ownerRights);
    const bool same = EqualSid(sid, ownerRights);
    FreeSid(ownerRights);
    return same;
}

int Process() {
    HWND window = FindWindowW(nullptr, L"Form1");
    if (!window)
        return Fail("no window Form1");
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (HANDLE reading = OpenProcess(PROCESS_VM_READ, FALSE, id)) {
        CloseHandle(reading);
        return Fail("its memory could be opened for reading");
    }
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return Fail("opening its memory failed, but not for want of rights");
    HANDLE process = OpenProcess(READ_CONTROL, FALSE, id);
    if (!process)
        return Fail("its access list could not be read");
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = GetSecurityInfo(process, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                       &acl, nullptr, &descriptor);
    CloseHandle(process);
    if (read != ERROR_SUCCESS || !acl)
        return Fail("no access list");
    bool user = false, owner = false;
    const DWORD count = acl->AceCount;
    for (DWORD i = 0; i < count; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        GetAce(acl, i, reinterpret_cast<void**>(&ace));
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            return Fail("an entry that is not an allowing one");
        PSID sid = &ace->SidStart;
        if (IsOwnerRights(sid))
            owner = ace->Mask == READ_CONTROL;
        else
            user = ace->Mask == (SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE);
    }
    LocalFree(descriptor);
    if (count != 2 || !user || !owner)
        return Fail("the access list is not: the user may wait, query and end; OWNER RIGHTS may read it");
    std::printf("process: memory closed to others, access list as it should be\n");
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0)
        return Clipboard();
    if (argc == 2 && std::strcmp(argv[1], "process") == 0)
        return Process();
    std::printf("usage: probe clipboard|process\n");
    return 2;
}
