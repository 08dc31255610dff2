#include "app/base_form.h"

#include "core/command_line.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "shell/windows_version.h"

namespace app {

TBaseForm::TBaseForm() : ui::TForm(nullptr), AppEvents(std::make_unique<ui::TApplicationEvents>()) {
    // Form description.
    WindowClassName = L"TBaseForm";
    Caption = L"Quince";
    BorderStyle = ui::TBorderStyle::None;
    DesignLeft = 0;
    DesignTop = 0;
    DesignClientWidth = 640;
    DesignClientHeight = 480;
    ColorIndex = COLOR_BTNFACE;
    FontName = L"Segoe UI";
    FontHeight = -12;
    SetAlphaBlend(true, 192);
    OnCreate = ui::TNotifyEvent(this, &TBaseForm::FormCreate);
    OnShow = ui::TNotifyEvent(this, &TBaseForm::FormShow);
    OnClick = ui::TNotifyEvent(this, &TBaseForm::FormClick);
    OnContextPopup = {this, &TBaseForm::FormContextPopup};
    AppEvents->OnDeactivate = ui::TNotifyEvent(this, &TBaseForm::AppEventsDeactivate);
    AppEvents->OnIdle = ui::TIdleEvent(this, &TBaseForm::AppEventsIdleAtBoot);
    folder::SetBaseWindow(this);
}

TBaseForm::~TBaseForm() {
    // The menu windows go first: the root one asks who the root is.
    DestroyHandle();
    // The idle and deactivate events must not reach a half-destroyed form.
    AppEvents.reset();
    if (folder::BaseWindow() == this) folder::SetBaseWindow(nullptr);
}

void TBaseForm::CreateParams(ui::TCreateParams& params) {
    ui::TForm::CreateParams(params);
    // Nothing to paint: at an opacity of 1/255 no colour shows, and filling
    // the whole virtual screen was the dearest step of the start.
    params.background = nullptr;
}

void TBaseForm::FormCreate(ui::TObject*) {
    RootForm_ = nullptr;
    ReadCommandLine(GetCommandLineW());
    SetAlphaBlend(true, 1);
    SetBoundsToVirtualScreen();
}

void TBaseForm::ReadCommandLine(const std::wstring& commandLine) {
    auto tokens = core::SplitCommandLine(commandLine);
    std::vector<std::wstring> arguments;
    if (tokens.size() > 1) arguments.assign(tokens.begin() + 1, tokens.end());
    core::CommandLine cmd = core::ParseCommandLine(arguments);
    FRootPath = cmd.rootPath;
    FEnumFlags = cmd.enumFlags;
    FFileMask = cmd.fileMask;
}

void TBaseForm::SetBoundsToVirtualScreen() {
    // Per-monitor v2 windows get the metrics for their own DPI; older systems
    // (and other awareness modes) the plain ones.
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using GetWindowDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using AreDpiAwarenessContextsEqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto metricsForDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    auto dpiForWindow =
        reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    auto windowContext = reinterpret_cast<GetWindowDpiAwarenessContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto contextsEqual = reinterpret_cast<AreDpiAwarenessContextsEqualFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));

    bool perMonitorV2 = Handle() && shell::GetWindowsVersion().AtLeast(10, 0, 14393) && metricsForDpi &&
                        dpiForWindow && windowContext && contextsEqual &&
                        contextsEqual(windowContext(Handle()), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    auto metric = [&](int index) {
        return perMonitorV2 ? metricsForDpi(index, dpiForWindow(Handle())) : GetSystemMetrics(index);
    };
    int left = metric(SM_XVIRTUALSCREEN);
    int top = metric(SM_YVIRTUALSCREEN);
    int width = metric(SM_CXVIRTUALSCREEN);
    int height = metric(SM_CYVIRTUALSCREEN);
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

void TBaseForm::FormShow(ui::TObject*) { ShowWindow(ui::Application().Handle(), SW_HIDE); }

void TBaseForm::FormClick(ui::TObject*) { Close(); }

void TBaseForm::FormContextPopup(ui::TObject*, POINT, bool& Handled) {
    // A right click outside the menus ends the run exactly like a left click.
    Click();
    Handled = true;
}

void TBaseForm::AppEventsIdleAtBoot(ui::TObject*, bool&) {
    if (!AppEvents->OnIdle) return;
    AppEvents->OnIdle.Clear();
    OpenRootMenu();
}

void TBaseForm::AppEventsDeactivate(ui::TObject*) { Close(); }

void TBaseForm::OpenRootMenu() {
    // Stored before anything can fail, so the window is freed with the base
    // window even when the root cannot be opened.
    RootForm_ = Own(std::make_unique<folder::TFolderForm>(this));
    RootForm_->CreateHandle();

    LPITEMIDLIST root = FRootPath.empty() ? shell::GetDesktopPidl()
                                          : shell::PathToPidl(shell::DesktopFolder.Get(), FRootPath);
    RootForm_->Namespace = new folder::TShellObject(nullptr, root);
    RootForm_->EnumFlags = FEnumFlags;
    RootForm_->FileMask = FFileMask;
    RootForm_->Show();
}

}  // namespace app
