#include "test_support.h"

#include <filesystem>
#include <stdexcept>

#include "shell/shell_utils.h"

namespace shell_test {

bool RunningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool IsControlPanelItem(IShellFolder* folder, LPCITEMIDLIST pidl) {
    return shell::IsControlPanelItemNamed(shell::GetParsingName(folder, pidl));
}

std::vector<BYTE> MakeList(std::initializer_list<USHORT> counts, BYTE fill) {
    std::vector<BYTE> bytes;
    for (USHORT cb : counts) {
        bytes.push_back(static_cast<BYTE>(cb & 0xFF));
        bytes.push_back(static_cast<BYTE>(cb >> 8));
        for (USHORT i = 2; i < cb; ++i) bytes.push_back(static_cast<BYTE>(fill + i));
        ++fill;
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::vector<BYTE> Bytes(LPCITEMIDLIST pidl, size_t size) {
    const auto* p = reinterpret_cast<const BYTE*>(pidl);
    return std::vector<BYTE>(p, p + size);
}

void* MallocSpy::PostAlloc(void* p) {
    if (p != nullptr) {
        ++allocations;
        outstanding.insert(p);
    }
    return p;
}

void* MallocSpy::PreFree(void* p, BOOL) {
    if (p != nullptr) {
        ++frees;
        outstanding.erase(p);
    }
    return p;
}

SIZE_T MallocSpy::PreRealloc(void* p, SIZE_T cb, void** out, BOOL) {
    if (p != nullptr) outstanding.erase(p);
    *out = p;
    return cb;
}

void* MallocSpy::PostRealloc(void* p, BOOL) {
    if (p != nullptr) outstanding.insert(p);
    return p;
}

MallocSpyScope::MallocSpyScope() {
    spy_.Attach(new MallocSpy);
    registered_ = SUCCEEDED(CoRegisterMallocSpy(spy_.Get()));
}

MallocSpyScope::~MallocSpyScope() {
    // Refused while spied blocks are still out; COM then lets the spy go
    // once the last of them is freed.
    if (registered_) CoRevokeMallocSpy();
}

TempTree::TempTree() {
    wchar_t temp[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) throw std::runtime_error("GetTempPathW");
    wchar_t longTemp[MAX_PATH];
    n = GetLongPathNameW(temp, longTemp, MAX_PATH);
    std::wstring base = (n > 0 && n < MAX_PATH) ? longTemp : temp;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    root_ = base + L"\\quince shell " + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64());
    if (!CreateDirectoryW(root_.c_str(), nullptr)) throw std::runtime_error("CreateDirectoryW");
}

TempTree::~TempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TempTree::AddFile(const std::wstring& relative, DWORD attributes) const {
    HANDLE file = CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("CreateFileW");
    DWORD written = 0;
    WriteFile(file, "quince", 6, &written, nullptr);
    CloseHandle(file);
}

void TempTree::AddFolder(const std::wstring& relative) const {
    if (!CreateDirectoryW(Path(relative).c_str(), nullptr)) throw std::runtime_error("CreateDirectoryW");
}

}  // namespace shell_test
