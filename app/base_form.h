#pragma once
// QUIN_Base: the base window. It covers the whole virtual screen at an
// opacity of 1/255, so it is practically invisible yet catches every click
// outside the menu windows; closing it ends the program.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "folder/base_window.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
#include "shell/path_resolver.h"
#include "ui/application.h"
#include "ui/form.h"

namespace app {

class TBaseForm final : public ui::TForm, public folder::IBaseWindow {
public:
    TBaseForm();
    ~TBaseForm() override;

    std::unique_ptr<ui::TApplicationEvents> AppEvents;
    folder::TFolderForm* RootForm_ = nullptr;   // read through RootForm()

    void FormCreate(ui::TObject* Sender);
    void FormShow(ui::TObject* Sender);
    void FormClick(ui::TObject* Sender);
    void FormContextPopup(ui::TObject* Sender, POINT MousePos, bool& Handled);
    void AppEventsIdleAtBoot(ui::TObject* Sender, bool& Done);
    void AppEventsIdleAtRootWait(ui::TObject* Sender, bool& Done);
    void AppEventsDeactivate(ui::TObject* Sender);
    void AppEventsIdleAtEndSoon(ui::TObject* Sender, bool& Done);
    void AppEventsIdleAtEndDelay(ui::TObject* Sender, bool& Done);

    // Creates and shows the root menu window for the root folder, parsing
    // the root path on this thread.
    void OpenRootMenu();
    // Starts finding and listing the root folder on a thread of its own
    // (once; the first idle turn starts it if nobody has); the program
    // starts it as soon as the command line is read.
    void StartRootSearch();
    // True while the root path is being parsed (and the root listed) on a
    // thread of its own.
    bool ResolvingRoot() const noexcept { return FRootResolver != nullptr; }
    // How that thread parses it (a test may hold it back).
    shell::TPathResolver::Parse RootParse = &shell::ParseFromDesktop;

    // IBaseWindow
    ui::TForm& Form() override { return *this; }
    folder::TFolderForm* RootForm() const override { return RootForm_; }
    ui::TIdleEvent& IdleSlot() override { return AppEvents->OnIdle; }
    void InstallEndOfRun(bool delayed) override;

    // Reads a whole process command line (FormCreate passes the real one).
    void ReadCommandLine(const std::wstring& commandLine);
    // How long the delayed end waits for a property sheet host window that
    // has not appeared yet.
    std::chrono::milliseconds HostWaitLimit{15000};

    // What the command line said (read by FormCreate).
    const std::wstring& RootPath() const noexcept { return FRootPath; }
    std::int32_t EnumFlags() const noexcept { return FEnumFlags; }
    const std::wstring& FileMask() const noexcept { return FFileMask; }

protected:
    void CreateParams(ui::TCreateParams& params) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void SetBoundsToVirtualScreen();
    void CreateRootForm();
    void ShowRootMenu(shell::UniquePidl root, std::shared_ptr<shell::TPathResolver> listedBy = nullptr);

    std::wstring FRootPath;
    std::int32_t FEnumFlags = 0;
    std::wstring FFileMask;
    // When the delayed end-of-run handler started waiting for the host window.
    std::optional<std::chrono::steady_clock::time_point> FHostWaitStart;
    // The root window's folder, owned here and lent to the root window as
    // its Namespace; that window goes in the destructor, before the members.
    std::unique_ptr<folder::TShellObject> FRootNamespace;
    // The root path being parsed, from the start of the search until it is found.
    std::unique_ptr<shell::TPathResolver> FRootResolver;
    bool FRootSearchStarted = false;
};

}  // namespace app
