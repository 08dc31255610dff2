// probe.exe: prints what the end-to-end scenarios need to know about Quince's
// windows, from a second process on the same desktop (under Wine: the same
// WINEPREFIX and wineserver). One line per fact, key=value tokens, any free
// text last and quoted, so a scenario can grep and cut:
//
//   screen x=0 y=0 w=1920 h=1080 workx=0 worky=0 workw=1920 workh=1080 cursorx=960 cursory=540 monitors=1
//   window hwnd=0x10060 class=TBaseForm pid=48 visible=1 x=0 y=0 w=1920 h=1080 style=0x96000000
//          exstyle=0x00080000 classstyle=0x00000008 owner=0x0 ownerclass=- alpha=1 title="Quince"
//   child parent=0x10060 hwnd=0x10064 class=ListBox visible=1 x=.. y=.. w=.. h=.. style=.. exstyle=.. id=0 items=12 text=".."
//   msgbox hwnd=0x1007a pid=48 visible=1 x=.. owner=0x10060 ownerclass=TBaseForm title="Quince" text="..."
//   process pid=48 exe="quince.exe"
//   wait met=1 ms=350
//
// Options:
//   --wait CLASS     first poll (50 ms steps) until a visible top-level window of CLASS exists
//   --gone CLASS     first poll until no visible top-level window of CLASS exists
//   --timeout MS     bound for --wait/--gone (default 10000); exit code 2 when it runs out
//   --processes      also list the processes (to see that none is left behind)
//   --items          also one line per list box entry:
//                    item list=0x.. index=0 selected=0 x=.. y=.. w=.. h=.. text="..."
//   --all            list every top-level window, not only Quince's kinds
//   --shell-order P  only the items of folder P (folders, others and hidden
//                    items) as the shell sorts them by its first column:
//                    entry index=0 folder=1 text="..."
//   --counts PID     the top-level windows of process PID (EnumWindows), and
//                    its own handle and GDI/USER object counts, read inside
//                    it by quince_counts.dll (built beside this exe) loaded
//                    for a moment through a remote thread:
//                    counts pid=.. windows=.. visible=.. handles=.. gdi=.. user=..
//   --exec EXE       runs EXE with exactly the command line "EXE" followed by
//                    a blank and the environment variable QUINCE_EXEC_LINE
//                    (no quoting added or taken away, so a scenario can hand
//                    a program an unbalanced quote), waits for it and exits
//                    with its code
//   --native-menu X Y  a real popup menu (TrackPopupMenu) at X,Y, made like a
//                    Quince folder menu (shell small icons, a sub-menu, a
//                    disabled row), to set beside Quince's for comparison. Once
//                    it shows, prints its window and each item's rect, then stays
//                    up until the menu is dismissed or the probe is killed:
//                    nativemenu x=.. y=.. w=.. h=.. logpixels=.. textheight=.. smicon=WxH font=".."
//                    nativeitem index=0 x=.. y=.. w=.. h=.. text="..."
//
// Rect values are GetWindowRect; x/y/w/h (not right/bottom) so that a
// scenario compares them with xwininfo directly.
#include <windows.h>
#include <tlhelp32.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "counts_block.h"

namespace {

const wchar_t* const kInteresting[] = {L"TBaseForm", L"TFolderForm", L"#32770"};

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

// Free text goes last on the line, quoted, and is otherwise left as it is
// (paths keep their backslashes for grep); a line break becomes the two
// characters \n so that one window stays one line.
std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    if (c == '\n') out += "\\n";
    else if (c != '\r') out += c;
  }
  return out + "\"";
}

std::string Hex(unsigned long long value, int width = 0) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%0*llx", width, value);
  return buf;
}

std::string HwndText(HWND wnd) { return Hex(reinterpret_cast<ULONG_PTR>(wnd)); }

std::wstring ClassOf(HWND wnd) {
  wchar_t name[256] = {};
  GetClassNameW(wnd, name, 256);
  return name;
}

// InternalGetWindowText reads the stored text without sending WM_GETTEXT, so a
// hung or busy target cannot block the probe; statics and buttons keep their
// text there too.
std::wstring TextOf(HWND wnd) {
  wchar_t text[1024] = {};
  InternalGetWindowText(wnd, text, 1024);
  return text;
}

std::string RectText(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return "x=" + std::to_string(r.left) + " y=" + std::to_string(r.top) + " w=" + std::to_string(r.right - r.left) +
         " h=" + std::to_string(r.bottom - r.top);
}

std::string StyleText(HWND wnd) {
  return "style=" + Hex(static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)), 8) +
         " exstyle=" + Hex(static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE)), 8);
}

std::string OwnerText(HWND wnd) {
  HWND owner = GetWindow(wnd, GW_OWNER);
  std::string cls = owner ? Utf8(ClassOf(owner)) : "-";
  return "owner=" + HwndText(owner) + " ownerclass=" + (cls.empty() ? "-" : cls);
}

std::string AlphaText(HWND wnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  if ((GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
      GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
    return "alpha=" + std::to_string(alpha);
  return "alpha=-";
}

DWORD PidOf(HWND wnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  return pid;
}

bool IsInteresting(const std::wstring& cls) {
  for (auto* name : kInteresting)
    if (cls == name) return true;
  return false;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> list;
  EnumWindows(
      [](HWND wnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> list;
  EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

bool gItems = false;

// A list message sent across processes; the system marshals the list box
// messages (strings, rects) for us. A timeout keeps a busy target from
// hanging the probe.
LRESULT Ask(HWND wnd, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(wnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, 1000, &result)) return LB_ERR;
  return static_cast<LRESULT>(result);
}

// One line per list box entry: screen rect of the row and its text.
void PrintItems(HWND box) {
  LRESULT count = Ask(box, LB_GETCOUNT);
  LRESULT selected = Ask(box, LB_GETCURSEL);
  for (LRESULT i = 0; i < count && i < 2000; ++i) {
    std::wstring text;
    LRESULT length = Ask(box, LB_GETTEXTLEN, static_cast<WPARAM>(i));
    if (length > 0 && length < 4096) {
      text.resize(static_cast<size_t>(length) + 1);
      LRESULT got = Ask(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    RECT r{};
    Ask(box, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("item list=%s index=%ld selected=%d x=%ld y=%ld w=%ld h=%ld text=%s\n", HwndText(box).c_str(),
                static_cast<long>(i), i == selected ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                Quoted(text).c_str());
  }
}

void PrintChildren(HWND parent) {
  for (HWND child : Children(parent)) {
    std::wstring cls = ClassOf(child);
    bool isList = _wcsicmp(cls.c_str(), L"ListBox") == 0;
    std::string count = isList ? " items=" + std::to_string(static_cast<long>(Ask(child, LB_GETCOUNT))) : "";
    std::printf("child parent=%s hwnd=%s class=%s visible=%d %s %s id=%ld%s text=%s\n", HwndText(parent).c_str(),
                HwndText(child).c_str(), Utf8(cls).c_str(), IsWindowVisible(child) ? 1 : 0,
                RectText(child).c_str(), StyleText(child).c_str(),
                static_cast<long>(GetWindowLongPtrW(child, GWLP_ID)), count.c_str(), Quoted(TextOf(child)).c_str());
    if (isList && gItems) PrintItems(child);
  }
}

// A message box's text sits in static children; the icon static has none.
std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  for (HWND child : Children(box)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0) continue;
    std::wstring part = TextOf(child);
    if (part.empty()) continue;
    if (!text.empty()) text += L"\n";
    text += part;
  }
  return text;
}

void PrintWindow(HWND wnd) {
  std::wstring cls = ClassOf(wnd);
  int visible = IsWindowVisible(wnd) ? 1 : 0;
  if (cls == L"#32770") {
    std::printf("msgbox hwnd=%s pid=%lu visible=%d %s %s %s title=%s text=%s\n", HwndText(wnd).c_str(),
                PidOf(wnd), visible, RectText(wnd).c_str(), StyleText(wnd).c_str(), OwnerText(wnd).c_str(),
                Quoted(TextOf(wnd)).c_str(), Quoted(MessageBoxText(wnd)).c_str());
  } else {
    std::printf("window hwnd=%s class=%s pid=%lu visible=%d %s %s classstyle=%s %s %s title=%s\n",
                HwndText(wnd).c_str(), Utf8(cls).c_str(), PidOf(wnd), visible, RectText(wnd).c_str(),
                StyleText(wnd).c_str(), Hex(static_cast<DWORD>(GetClassLongPtrW(wnd, GCL_STYLE)), 8).c_str(),
                OwnerText(wnd).c_str(), AlphaText(wnd).c_str(), Quoted(TextOf(wnd)).c_str());
  }
  if (cls != L"TBaseForm") PrintChildren(wnd);
}

void PrintScreen() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  POINT cursor{};
  GetCursorPos(&cursor);
  std::printf(
      "screen x=%d y=%d w=%d h=%d workx=%ld worky=%ld workw=%ld workh=%ld cursorx=%ld cursory=%ld monitors=%d\n",
      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
      GetSystemMetrics(SM_CYVIRTUALSCREEN), work.left, work.top, work.right - work.left, work.bottom - work.top,
      cursor.x, cursor.y, GetSystemMetrics(SM_CMONITORS));
}

void PrintProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    std::printf("process error=%lu\n", GetLastError());
    return;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    std::printf("process pid=%lu exe=%s\n", entry.th32ProcessID, Quoted(entry.szExeFile).c_str());
  CloseHandle(snapshot);
}

bool HasVisible(const std::wstring& cls) {
  for (HWND wnd : TopLevelWindows())
    if (IsWindowVisible(wnd) && ClassOf(wnd) == cls) return true;
  return false;
}

// The folder's own order of its items: what a menu of it must show.
// The DLL beside this exe, loaded into process pid: its DllMain writes the
// counts into a block named after the process and refuses to stay.
bool ReadCountsInside(DWORD pid, TCountsBlock& counts) {
  wchar_t self[MAX_PATH] = {};
  std::wstring dll(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  dll.erase(dll.find_last_of(L"\\/") + 1);
  dll += L"quince_counts.dll";
  wchar_t name[64];
  wsprintfW(name, kCountsBlockName, pid);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TCountsBlock), name);
  if (!mapping) return false;
  bool ok = false;
  auto* view = static_cast<TCountsBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TCountsBlock)));
  HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                               PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid);
  if (view && process) {
    const SIZE_T bytes = (dll.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    // kernel32 sits at the same address in every process of the session.
    auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    if (remote && WriteProcessMemory(process, remote, dll.c_str(), bytes, nullptr)) {
      if (HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr)) {
        ok = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 && view->done == 1;
        CloseHandle(thread);
      }
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    counts = *view;
  }
  if (process) CloseHandle(process);
  if (view) UnmapViewOfFile(view);
  CloseHandle(mapping);
  return ok;
}

// The kernel-object handles process pid holds, from the system's handle list
// (which Wine keeps in the wineserver); -1 when the list cannot be had.
long SystemHandlesOf(DWORD pid) {
  using QueryFn = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  // SYSTEM_HANDLE_INFORMATION (class 16): a count, then 24-byte entries
  // whose first member is the owner's process id.
  std::vector<BYTE> buffer(1 << 20);
  for (int tries = 0; tries < 6; ++tries) {
    ULONG needed = 0;
    const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
      long mine = 0;
      for (ULONG i = 0; i < count; ++i) {
        const BYTE* entry = buffer.data() + 8 + static_cast<size_t>(i) * 24;
        if (*reinterpret_cast<const USHORT*>(entry) == static_cast<USHORT>(pid)) ++mine;
      }
      return mine;
    }
    if (status != static_cast<LONG>(0xC0000004)) return -1;  // not STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
  }
  return -1;
}

int PrintCounts(DWORD pid) {
  int windows = 0, visible = 0, children = 0;
  for (HWND wnd : TopLevelWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner != pid) continue;
    ++windows;
    if (IsWindowVisible(wnd)) ++visible;
    EnumChildWindows(wnd, [](HWND, LPARAM n) -> BOOL { ++*reinterpret_cast<int*>(n); return TRUE; },
                     reinterpret_cast<LPARAM>(&children));
  }
  const long system = SystemHandlesOf(pid);
  TCountsBlock counts{};
  const bool inside = ReadCountsInside(pid, counts);
  std::printf("counts pid=%lu windows=%d visible=%d children=%d syshandles=%ld inside=%d handles=%lu handlesok=%lu "
              "gdi=%lu user=%lu gditable=%ld\n",
              pid, windows, visible, children, system, inside ? 1 : 0, counts.handles, counts.handlesOk, counts.gdi,
              counts.user, counts.gdiTable);
  return inside ? 0 : 1;
}

int Exec(const std::wstring& exe) {
  const wchar_t* line = _wgetenv(L"QUINCE_EXEC_LINE");
  std::wstring commandLine = L"\"" + exe + L"\" " + (line ? line : L"");
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "CreateProcess failed: %lu\n", GetLastError());
    return 127;
  }
  CloseHandle(pi.hThread);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

int PrintShellOrder(const std::wstring& path) {
  if (FAILED(OleInitialize(nullptr))) return 1;
  IShellFolder* desktop = nullptr;
  IShellFolder* folder = nullptr;
  IEnumIDList* items = nullptr;
  std::vector<LPITEMIDLIST> lists;
  int rc = 1;
  std::wstring buffer = path;
  LPITEMIDLIST pidl = nullptr;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
      SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, buffer.data(), nullptr, &pidl, nullptr)) &&
      SUCCEEDED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))) &&
      folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &items) == S_OK) {
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) lists.push_back(item);
    std::stable_sort(lists.begin(), lists.end(), [folder](LPITEMIDLIST a, LPITEMIDLIST b) {
      return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a, b))) < 0;
    });
    for (size_t i = 0; i < lists.size(); ++i) {
      STRRET name{};
      wchar_t text[MAX_PATH] = L"";
      if (SUCCEEDED(folder->GetDisplayNameOf(lists[i], SHGDN_INFOLDER, &name))) StrRetToBufW(&name, lists[i], text, MAX_PATH);
      LPCITEMIDLIST one = lists[i];
      SFGAOF attributes = SFGAO_FOLDER;
      bool isFolder = SUCCEEDED(folder->GetAttributesOf(1, &one, &attributes)) && (attributes & SFGAO_FOLDER);
      std::printf("entry index=%zu folder=%d text=%s\n", i, isFolder ? 1 : 0, Quoted(text).c_str());
    }
    rc = 0;
  }
  for (LPITEMIDLIST list : lists) CoTaskMemFree(list);
  if (items) items->Release();
  if (folder) folder->Release();
  CoTaskMemFree(pidl);
  if (desktop) desktop->Release();
  OleUninitialize();
  return rc;
}


// ---------------------------------------------------------------- native menu --

// Items show shell small icons as shell menus do: HBMMENU_CALLBACK, the
// owner draws the icon from the system image list (a 32-bit bitmap in
// hbmpItem keeps its black background in Wine's menus).
HIMAGELIST gSmallIcons = nullptr;

int SmallIconIndex(const wchar_t* name, DWORD attributes) {
  SHFILEINFOW info{};
  gSmallIcons = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
      name, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  return gSmallIcons ? info.iIcon : -1;
}

HWND gMenuOwner = nullptr;
HMENU gNativeMenu = nullptr;
bool gMenuReported = false;

BOOL CALLBACK FindMenuWindow(HWND wnd, LPARAM param) {
  if (IsWindowVisible(wnd) && ClassOf(wnd) == L"#32768") {
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
  }
  return TRUE;
}

// Once the menu is up (its loop goes idle): its window and the items' rects.
void ReportNativeMenu() {
  HWND menuWindow = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
  if (!menuWindow) return;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // What a row is made of: the menu font's cell height, the small icon
  // metric and the size of the system's small icons.
  HDC screen = GetDC(nullptr);
  const int logPixels = GetDeviceCaps(screen, LOGPIXELSY);
  HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(screen, &tm);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  int iconW = 0, iconH = 0;
  if (gSmallIcons) ImageList_GetIconSize(gSmallIcons, &iconW, &iconH);
  std::printf("nativemenu hwnd=%s %s menuheight=%d logpixels=%d fontheight=%ld textheight=%ld smicon=%dx%d "
              "shellicons=%dx%d font=%s\n",
              HwndText(menuWindow).c_str(), RectText(menuWindow).c_str(), GetSystemMetrics(SM_CYMENU), logPixels,
              metrics.lfMenuFont.lfHeight, tm.tmHeight, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
              iconW, iconH, Quoted(metrics.lfMenuFont.lfFaceName).c_str());
  for (int i = 0, n = GetMenuItemCount(gNativeMenu); i < n; ++i) {
    RECT r{};
    GetMenuItemRect(gMenuOwner, gNativeMenu, static_cast<UINT>(i), &r);
    wchar_t text[256] = L"";
    GetMenuStringW(gNativeMenu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    std::printf("nativeitem index=%d x=%ld y=%ld w=%ld h=%ld text=%s\n", i, r.left, r.top, r.right - r.left,
                r.bottom - r.top, Quoted(text).c_str());
  }
  std::fflush(stdout);
  gMenuReported = true;
}

LRESULT CALLBACK MenuOwnerProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_ENTERIDLE && wparam == MSGF_MENU && !gMenuReported) ReportNativeMenu();
  if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->CtlType == ODT_MENU) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    m->itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CXSMICON));
    m->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYSMICON));
    return TRUE;
  }
  if (msg == WM_DRAWITEM && reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->CtlType == ODT_MENU) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    const int y = d->rcItem.top + (d->rcItem.bottom - d->rcItem.top - cy) / 2;
    if (gSmallIcons && d->itemData)
      ImageList_Draw(gSmallIcons, static_cast<int>(d->itemData) - 1, d->hDC, d->rcItem.left, y, ILD_TRANSPARENT);
    return TRUE;
  }
  return DefWindowProcW(wnd, msg, wparam, lparam);
}

void AddItem(HMENU menu, const wchar_t* text, int icon, HMENU sub, bool enabled) {
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_DATA | (icon >= 0 ? MIIM_BITMAP : 0u) |
               (sub ? MIIM_SUBMENU : 0u);
  item.dwItemData = static_cast<ULONG_PTR>(icon + 1);
  item.wID = static_cast<UINT>(GetMenuItemCount(menu) + 1);
  item.dwTypeData = const_cast<wchar_t*>(text);
  item.hbmpItem = HBMMENU_CALLBACK;
  item.hSubMenu = sub;
  item.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

// The owner window is never shown: a window of the probe that the window
// manager could focus would deactivate Quince, which ends its run.
int NativeMenu(int x, int y) {
  CoInitialize(nullptr);
  WNDCLASSW cls{};
  cls.lpfnWndProc = MenuOwnerProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"QuinceProbeMenuOwner";
  RegisterClassW(&cls);
  gMenuOwner = CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"probe native menu", WS_POPUP, x, y, 1, 1,
                               nullptr, nullptr, cls.hInstance, nullptr);
  if (!gMenuOwner) return 1;
  const int folder = SmallIconIndex(L"C:\\folder", FILE_ATTRIBUTE_DIRECTORY);
  const int text = SmallIconIndex(L"C:\\file.txt", FILE_ATTRIBUTE_NORMAL);
  HMENU sub = CreatePopupMenu();
  AddItem(sub, L"inner", folder, nullptr, true);
  AddItem(sub, L"one.txt", text, nullptr, true);
  gNativeMenu = CreatePopupMenu();
  AddItem(gNativeMenu, L"alpha", folder, sub, true);
  AddItem(gNativeMenu, L"bravo.txt", text, nullptr, true);
  AddItem(gNativeMenu, L"charlie.txt", text, nullptr, true);
  AddItem(gNativeMenu, L"(\x306a\x3057)", -1, nullptr, false);
  // Icons in the check-mark column, as menus with pictures and no checks show them.
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_CHECKORBMP;
  SetMenuInfo(gNativeMenu, &info);
  SetMenuInfo(sub, &info);
  std::printf("nativeicons folder=%d text=%d\n", folder, text);
  std::fflush(stdout);
  TrackPopupMenu(gNativeMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, gMenuOwner, nullptr);
  std::printf("nativemenu closed\n");
  std::fflush(stdout);
  DestroyMenu(gNativeMenu);
  DestroyWindow(gMenuOwner);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Plain \n line ends: the scenarios read this through a unix pipe.
  _setmode(_fileno(stdout), _O_BINARY);
  std::wstring waitFor, goneFor;
  DWORD timeout = 10000;
  bool processes = false, all = false;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--wait" && i + 1 < argc) waitFor = argv[++i];
    else if (arg == L"--gone" && i + 1 < argc) goneFor = argv[++i];
    else if (arg == L"--timeout" && i + 1 < argc) timeout = static_cast<DWORD>(_wtol(argv[++i]));
    else if (arg == L"--processes") processes = true;
    else if (arg == L"--all") all = true;
    else if (arg == L"--items") gItems = true;
    else if (arg == L"--shell-order" && i + 1 < argc) return PrintShellOrder(argv[++i]);
    else if (arg == L"--exec" && i + 1 < argc) return Exec(argv[i + 1]);
    else if (arg == L"--counts" && i + 1 < argc) return PrintCounts(static_cast<DWORD>(_wtol(argv[++i])));
    else if (arg == L"--native-menu" && i + 2 < argc) return NativeMenu(_wtoi(argv[i + 1]), _wtoi(argv[i + 2]));
    else {
      std::fprintf(stderr, "usage: probe [--wait CLASS] [--gone CLASS] [--timeout MS] [--processes] [--items] [--all] | --exec EXE | --counts PID | --shell-order P | --native-menu X Y\n");
      return 64;
    }
  }

  int exitCode = 0;
  if (!waitFor.empty() || !goneFor.empty()) {
    const ULONGLONG start = GetTickCount64();
    bool met = false;
    for (;;) {
      met = (waitFor.empty() || HasVisible(waitFor)) && (goneFor.empty() || !HasVisible(goneFor));
      if (met || GetTickCount64() - start >= timeout) break;
      Sleep(50);
    }
    std::printf("wait met=%d ms=%llu\n", met ? 1 : 0, GetTickCount64() - start);
    exitCode = met ? 0 : 2;
  }

  PrintScreen();
  for (HWND wnd : TopLevelWindows())
    if (all || IsInteresting(ClassOf(wnd))) PrintWindow(wnd);
  if (processes) PrintProcesses();
  std::fflush(stdout);
  return exitCode;
}
