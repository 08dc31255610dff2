// drop_target.exe: an OLE drop target in a process of its own, for the drag
// scenarios. It shows a window at X Y W H (without taking the focus),
// registers it for drag and drop and prints one line per event on stdout:
//
//   ready hwnd=0x...
//   enter allowed=0x7 keys=0x1 hdrop=1
//   drop allowed=0x7 effect=0x1 file="C:\nav\bravo.txt"
//
// It accepts only CF_HDROP, answers copy (move with Shift, link with
// Ctrl+Shift, as Explorer does) and copies nothing. After a drop it paints
// the names it received and ends 3 s later, so that nobody has to kill it
// (a Wine process killed while others start can take a starting one with
// it); without a drop it ends after TIMEOUT ms (default 60000).
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring g_received = L"drop here";

void Print(const std::wstring& line) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, out.data(), size, nullptr, nullptr);
  std::printf("%s\n", out.c_str());
  std::fflush(stdout);
}

std::wstring Hex(DWORD value) {
  wchar_t buf[16];
  swprintf(buf, 16, L"0x%lx", static_cast<unsigned long>(value));
  return buf;
}

DWORD Choose(DWORD keys, DWORD allowed) {
  DWORD wanted = DROPEFFECT_COPY;
  if ((keys & MK_SHIFT) && (keys & MK_CONTROL)) wanted = DROPEFFECT_LINK;
  else if (keys & MK_SHIFT) wanted = DROPEFFECT_MOVE;
  return (allowed & wanted) ? wanted : DROPEFFECT_NONE;
}

class Target final : public IDropTarget {
public:
  explicit Target(HWND wnd) : wnd_(wnd) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *ppv = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs_); }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    hdrop_ = data->QueryGetData(&format) == S_OK;
    allowed_ = *effect;
    Print(L"enter allowed=" + Hex(*effect) + L" keys=" + Hex(keys) + L" hdrop=" + (hdrop_ ? L"1" : L"0"));
    *effect = hdrop_ ? Choose(keys, allowed_) : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override {
    *effect = hdrop_ ? Choose(keys, *effect) : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    Print(L"leave");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    if (FAILED(data->GetData(&format, &medium))) {
      Print(L"drop allowed=" + Hex(allowed) + L" effect=0x0 file=\"\"");
      return S_OK;
    }
    *effect = Choose(keys, allowed);
    auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    const UINT count = drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    g_received.clear();
    for (UINT i = 0; i < count; ++i) {
      wchar_t name[MAX_PATH] = {};
      DragQueryFileW(drop, i, name, MAX_PATH);
      Print(L"drop allowed=" + Hex(allowed) + L" effect=" + Hex(*effect) + L" file=\"" + name + L"\"");
      g_received += std::wstring(L"received: ") + name + L"\n";
    }
    if (drop) GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
    InvalidateRect(wnd_, nullptr, TRUE);
    SetTimer(wnd_, 1, 3000, nullptr);
    return S_OK;
  }

private:
  HWND wnd_;
  LONG refs_ = 1;
  bool hdrop_ = false;
  DWORD allowed_ = 0;
};

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(wnd, &ps);
    RECT rc;
    GetClientRect(wnd, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
    InflateRect(&rc, -8, -8);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, g_received.c_str(), -1, &rc, DT_LEFT | DT_TOP | DT_WORDBREAK);
    EndPaint(wnd, &ps);
    return 0;
  }
  if (msg == WM_TIMER) PostQuitMessage(0);
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 5) {
    std::fprintf(stderr, "usage: drop_target X Y W H [TIMEOUT_MS]\n");
    return 1;
  }
  const UINT timeout = argc > 5 ? static_cast<UINT>(_wtoi(argv[5])) : 60000;
  OleInitialize(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"QuinceDropTarget";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"drop target", WS_POPUP | WS_BORDER,
                             _wtoi(argv[1]), _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), nullptr, nullptr,
                             wc.hInstance, nullptr);
  Target target(wnd);
  if (!wnd || FAILED(RegisterDragDrop(wnd, &target))) {
    std::fprintf(stderr, "no window or RegisterDragDrop failed\n");
    return 1;
  }
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  UpdateWindow(wnd);
  SetTimer(wnd, 1, timeout, nullptr);
  wchar_t handle[32];
  swprintf(handle, 32, L"%p", static_cast<void*>(wnd));
  Print(std::wstring(L"ready hwnd=") + handle);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  RevokeDragDrop(wnd);
  DestroyWindow(wnd);
  OleUninitialize();
  return 0;
}
