// Names of shell items: parsing paths into lists, and the display names the
// shell gives back in its STRRET records.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "shell/shell_error.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "sys/text.h"
#include "sys/worker_thread.h"

namespace shell {
namespace {

// The ANSI text of an offset record: it lives inside the first item ID and
// ends at its first zero byte or, failing one, at the end of that item ID.
std::wstring OffsetText(LPCITEMIDLIST pidl, UINT offset) {
    const auto* bytes = reinterpret_cast<const char*>(pidl);
    USHORT cb;
    std::memcpy(&cb, bytes, sizeof cb);
    if (offset >= cb) return {};
    const char* begin = bytes + offset;
    const char* end = std::find(begin, bytes + cb, '\0');
    return sys::Widen(std::string_view(begin, static_cast<size_t>(end - begin)));
}

// Some folders mark names (times, sizes) with a leading "?" before a digit,
// with further "?" inside; such a name is shown without any of them.
void DropQuestionMarks(std::wstring& name) {
    if (name.size() > 1 && name[0] == L'?' && name[1] >= L'0' && name[1] <= L'9')
        name.erase(std::remove(name.begin(), name.end(), L'?'), name.end());
}

}  // namespace

UniquePidl PathToPidl(IShellFolder* folder, const std::wstring& path) {
    // ParseDisplayName wants a writable string.
    std::wstring buffer = path;
    ULONG eaten = static_cast<ULONG>(buffer.size());
    ULONG attributes = 0;
    LPITEMIDLIST pidl = nullptr;
    const HRESULT hr = folder->ParseDisplayName(nullptr, nullptr, buffer.data(), &eaten, &pidl, &attributes);
    CheckHr(hr, L"PathToPidl", Failure::OpenFolder, path);
    if (pidl == nullptr) throw ShellError(E_UNEXPECTED, L"PathToPidl", Failure::OpenFolder, path);
    return UniquePidl(pidl);
}

std::wstring StrRetToString(LPCITEMIDLIST pidl, STRRET& strret) {
    std::wstring name;
    switch (strret.uType) {
    case STRRET_WSTR:
        if (strret.pOleStr != nullptr) {
            name = strret.pOleStr;
            CoTaskMemFree(strret.pOleStr);
            strret.pOleStr = nullptr;
        }
        break;
    case STRRET_OFFSET:
        name = OffsetText(pidl, strret.uOffset);
        break;
    case STRRET_CSTR: {
        // Bounded by the record: a folder that fills all of it without a
        // terminator must not make us read beyond.
        const char* text = strret.cStr;
        const char* end = std::find(text, text + std::size(strret.cStr), '\0');
        name = sys::Widen(std::string_view(text, static_cast<size_t>(end - text)));
        break;
    }
    default:
        break;
    }
    DropQuestionMarks(name);
    return name;
}

std::wstring GetDisplayName(IShellFolder* folder, LPCITEMIDLIST pidl, DWORD flags) {
    // For the length of the call: a thread already in an apartment (of
    // either kind) keeps its own.
    const sys::TComApartment com(sys::TApartment::Single);
    STRRET strret{};
    if (FAILED(folder->GetDisplayNameOf(pidl, flags, &strret))) return {};
    return StrRetToString(pidl, strret);
}

std::wstring GetInFolderName(IShellFolder* folder, LPCITEMIDLIST pidl) {
    return GetDisplayName(folder, pidl, SHGDN_INFOLDER);
}

std::wstring GetParsingName(IShellFolder* folder, LPCITEMIDLIST pidl) {
    return GetDisplayName(folder, pidl, SHGDN_FORPARSING);
}

std::wstring GetSpecialFolderPath(int csidl) {
    if (!DesktopFolder) return {};
    LPITEMIDLIST raw = nullptr;
    if (FAILED(SHGetFolderLocation(nullptr, csidl, nullptr, 0, &raw)) || raw == nullptr) {
        PidlFree(raw);
        return {};
    }
    UniquePidl pidl(raw);
    return GetParsingName(DesktopFolder.Get(), pidl.get());
}

}  // namespace shell
