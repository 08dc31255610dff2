#include "app/base_form.h"

#include "core/command_line.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "ui/dpi.h"

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
    // The menu windows go first: the root one lists FRootNamespace.
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
    // A per-monitor-aware window gets the metrics for its own DPI; older
    // systems the plain ones.
    const UINT dpi = ui::WindowDpi(Handle());
    auto metric = [dpi](int index) { return ui::SystemMetricForDpi(index, dpi); };
    SetBounds(metric(SM_XVIRTUALSCREEN), metric(SM_YVIRTUALSCREEN), metric(SM_CXVIRTUALSCREEN),
              metric(SM_CYVIRTUALSCREEN));
}

void TBaseForm::FormShow(ui::TObject*) { ShowWindow(ui::Application().Handle(), SW_HIDE); }

void TBaseForm::FormClick(ui::TObject*) { Close(); }

void TBaseForm::FormContextPopup(ui::TObject*, POINT, bool& Handled) {
    // A right click outside the menus ends the run exactly like a left click.
    Click();
    Handled = true;
}

void TBaseForm::StartRootSearch() {
    if (FRootSearchStarted) return;
    FRootSearchStarted = true;
    // Parsing can take long (a UNC path to a server that is not there waits
    // for the network), and so can listing: both run on a thread of their
    // own while this one goes on taking clicks and keys, any of which may
    // end the run first.
    shell::TListRequest list;
    list.flags = static_cast<DWORD>(FEnumFlags);
    list.mask = FFileMask;
    FRootResolver = std::make_unique<shell::TPathResolver>(FRootPath, RootParse, std::move(list));
}

void TBaseForm::AppEventsIdleAtBoot(ui::TObject* Sender, bool& Done) {
    if (!AppEvents->OnIdle) return;
    AppEvents->OnIdle.Clear();
    StartRootSearch();
    // The window is made while the root is being found, shown once it is.
    CreateRootForm();
    AppEvents->OnIdle = ui::TIdleEvent(this, &TBaseForm::AppEventsIdleAtRootWait);
    AppEventsIdleAtRootWait(Sender, Done);
}

void TBaseForm::AppEventsIdleAtRootWait(ui::TObject*, bool& Done) {
    if (!FRootResolver) {
        AppEvents->OnIdle.Clear();
        return;
    }
    if (!FRootResolver->Done()) {
        // Sleeps until the answer or any message comes; a message is
        // dispatched by the loop before the next idle turn comes back here.
        HANDLE finished = FRootResolver->Finished();
        MsgWaitForMultipleObjectsEx(1, &finished, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (!FRootResolver->Done()) {
            Done = false;
            return;
        }
    }
    AppEvents->OnIdle.Clear();
    std::shared_ptr<shell::TPathResolver> resolver = std::move(FRootResolver);
    shell::UniquePidl root = resolver->Take();  // a failure is reported as a parse on this thread would be
    ShowRootMenu(std::move(root), std::move(resolver));
}

LRESULT TBaseForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    // Until the root menu shows, the base window is all there is to take
    // keys: Escape then ends the run, as it would close the menu.
    if (msg == WM_KEYDOWN && wp == VK_ESCAPE && FRootResolver) {
        Close();
        return 0;
    }
    return ui::TForm::WndProc(msg, wp, lp);
}

void TBaseForm::AppEventsDeactivate(ui::TObject*) { Close(); }

void TBaseForm::OpenRootMenu() {
    CreateRootForm();
    ShowRootMenu(FRootPath.empty() ? shell::GetDesktopPidl() : shell::PathToPidl(shell::DesktopFolder.Get(), FRootPath));
}

void TBaseForm::CreateRootForm() {
    // Stored before anything can fail, so the window is freed with the base
    // window even when the root cannot be opened.
    RootForm_ = Own(std::make_unique<folder::TFolderForm>(this));
    RootForm_->CreateHandle();
}

void TBaseForm::ShowRootMenu(shell::UniquePidl root, std::shared_ptr<shell::TPathResolver> listedBy) {
    FRootNamespace = std::make_unique<folder::TShellObject>(nullptr, std::move(root));
    RootForm_->Namespace = FRootNamespace.get();
    RootForm_->EnumFlags = FEnumFlags;
    RootForm_->FileMask = FFileMask;
    if (listedBy && listedBy->Listed()) {
        RootForm_->ListedAhead = [listedBy] { return listedBy->TakeListing(); };
    }
    RootForm_->Show();
}

}  // namespace app
