// Looks at the running Zadrin from outside, as another program of the same user. "listen" watches the
// clipboard as a clipboard history does and tells, at each change, whether it is Zadrin's and whether its
// text is marked for histories to stay away. "process" checks that the program's window belongs to a
// process whose memory others cannot read, whose access list they cannot rewrite nor take the process over
// (not under Wine: it gives an owner both), and whose access list lets its user wait for, query and end it
// and nothing else. (Wine reports no list as protected from inheritance: that is not tried.) "threads" opens
// each of the program's threads for every right that reads or steers a thread and fails on any granted.
// Says what it found; exit status 0 when all is as it should be.
#include <windows.h>

#include <aclapi.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <tlhelp32.h>
#include <utility>
#include <vector>

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

// Whether the open clipboard's text carries all three marks.
bool Marked() {
    const std::string exclude = FormatData(L"ExcludeClipboardContentFromMonitorProcessing");
    const std::string history = FormatData(L"CanIncludeInClipboardHistory");
    const std::string cloud = FormatData(L"CanUploadToCloudClipboard");
    // The toolkit may round a block up; what counts are its first four bytes.
    return exclude.size() >= 4 && std::memcmp(exclude.data(), "\1\0\0\0", 4) == 0 && history.size() >= 4 &&
           std::memcmp(history.data(), "\0\0\0\0", 4) == 0 && cloud.size() >= 4 &&
           std::memcmp(cloud.data(), "\0\0\0\0", 4) == 0;
}

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    if (window)
        GetWindowThreadProcessId(window, &id);
    return id;
}

// One line per change of the clipboard, as soon as it is announced: "zadrin" or "other", "text" or
// "no text", "marked" or "NOT marked" ("busy" when the clipboard stays open to others).
LRESULT CALLBACK ListenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLIPBOARDUPDATE)
        return DefWindowProcW(window, message, wParam, lParam);
    const DWORD owner = ProcessOf(GetClipboardOwner());
    const char* whose = owner && owner == ProcessOf(FindWindowW(nullptr, L"Form1")) ? "zadrin" : "other";
    bool open = false;
    for (int attempt = 0; attempt < 200 && !(open = OpenClipboard(window)); ++attempt)
        Sleep(5);
    if (!open) {
        std::printf("%s busy\n", whose);
    } else {
        const bool text = IsClipboardFormatAvailable(CF_UNICODETEXT);
        std::printf("%s %s %s\n", whose, text ? "text" : "no-text", Marked() ? "marked" : "NOT-marked");
        CloseClipboard();
    }
    std::fflush(stdout);
    return 0;
}

int Listen() {
    WNDCLASSW kind{};
    kind.lpfnWndProc = ListenerProcedure;
    kind.lpszClassName = L"ZadrinTestListener";
    RegisterClassW(&kind);
    HWND window =
        CreateWindowExW(0, kind.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window || !AddClipboardFormatListener(window))
        return Fail("cannot listen to the clipboard");
    std::printf("listening\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
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

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The user this probe runs as, the same as Zadrin's: its SID, in Buffer.
PSID ThisUser(std::vector<unsigned char>& Buffer) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    Buffer.resize(size);
    const bool known = size && GetTokenInformation(token, TokenUser, Buffer.data(), size, &size);
    CloseHandle(token);
    return known ? reinterpret_cast<TOKEN_USER*>(Buffer.data())->User.Sid : nullptr;
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
    // Windows gives the owner of an object its access list to rewrite, unless an entry for OWNER RIGHTS
    // says otherwise, and never ownership to take. Wine gives the owner both whatever the list says.
    const std::pair<DWORD, const char*> rights[] = {{WRITE_DAC, "rewrite its access list"},
                                                    {WRITE_OWNER, "take it over"}};
    for (const auto& [right, what] : rights) {
        if (HANDLE opened = OpenProcess(right, FALSE, id)) {
            CloseHandle(opened);
            if (!UnderWine())
                return Fail(what);
            std::printf("under Wine, the owner may %s\n", what);
        } else if (GetLastError() != ERROR_ACCESS_DENIED) {
            return Fail("asking for a right failed, but not for want of it");
        }
    }
    std::vector<unsigned char> userBuffer;
    const PSID thisUser = ThisUser(userBuffer);
    if (!thisUser)
        return Fail("this probe's own user is not known");
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
        else if (EqualSid(sid, thisUser))
            user = ace->Mask == (SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE);
    }
    LocalFree(descriptor);
    if (count != 2 || !user || !owner)
        return Fail("the access list is not: its user may wait, query and end; OWNER RIGHTS may read it");
    std::printf("process: memory closed to others, access list as it should be\n");
    return 0;
}
// The ids of the threads of process Id.
std::vector<DWORD> ThreadsOf(DWORD id) {
    std::vector<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (bool more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == id)
            threads.push_back(entry.th32ThreadID);
    CloseHandle(snapshot);
    return threads;
}

int Threads() {
    const DWORD id = ProcessOf(FindWindowW(nullptr, L"Form1"));
    if (!id)
        return Fail("no window Form1");
    const std::vector<DWORD> threads = ThreadsOf(id);
    if (threads.empty())
        return Fail("no thread of its found");
    // What another program could do with a thread: read or set its registers (and so run its own code in
    // it), stop it, make it act as someone else, change it, end it, rewrite its access list or own it.
    const std::pair<DWORD, const char*> rights[] = {
        {THREAD_GET_CONTEXT, "read its registers"},
        {THREAD_SET_CONTEXT, "set its registers"},
        {THREAD_SUSPEND_RESUME, "suspend it"},
        {THREAD_IMPERSONATE, "let it impersonate"},
        {THREAD_DIRECT_IMPERSONATION, "impersonate it"},
        {THREAD_SET_THREAD_TOKEN, "give it a token"},
        {THREAD_SET_INFORMATION, "change it"},
        {THREAD_SET_LIMITED_INFORMATION, "change its priority"},
        {THREAD_QUERY_INFORMATION, "query it in full"},
        {THREAD_TERMINATE, "end it"},
        {WRITE_DAC, "rewrite its access list"},
        {WRITE_OWNER, "take it over"},
    };
    int opened = 0;
    for (const DWORD thread : threads) {
        // What the process allows its user, waiting for it and asking after it, the thread allows too:
        // without this a refusal below could mean a thread already gone.
        HANDLE waitable = OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, thread);
        if (!waitable)
            continue;
        CloseHandle(waitable);
        ++opened;
        for (const auto& [right, what] : rights) {
            if (HANDLE handle = OpenThread(right, FALSE, thread)) {
                CloseHandle(handle);
                if ((right == WRITE_DAC || right == WRITE_OWNER) && UnderWine())
                    continue; // as for the process: Wine gives the owner both
                std::printf("FAIL: thread %lu: another program may %s\n", static_cast<unsigned long>(thread),
                            what);
                return 1;
            }
            if (GetLastError() != ERROR_ACCESS_DENIED)
                return Fail("asking for a right on a thread failed, but not for want of it");
        }
    }
    if (opened == 0)
        return Fail("no thread of its could be waited for");
    std::printf("threads: %d, each closed to others\n", opened);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "listen") == 0)
        return Listen();
    if (argc == 2 && std::strcmp(argv[1], "process") == 0)
        return Process();
    if (argc == 2 && std::strcmp(argv[1], "threads") == 0)
        return Threads();
    std::printf("usage: probe listen|process|threads\n");
    return 2;
}
