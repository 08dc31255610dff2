#pragma once
// Shared pieces of the folder tests: a stand-in base window, the temporary
// folder tree every test reads, and small helpers for shell lists, entries
// and the message queue.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "folder/base_window.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
#include "shell/shell_types.h"
#include "test_support.h"
#include "ui/form.h"

namespace folder_test {

// What the menu windows need of the base window, without the application's
// own base form (it reads the command line and covers the screen).
class TTestBaseForm final : public ui::TForm, public folder::IBaseWindow {
public:
    TTestBaseForm();
    ~TTestBaseForm() override;

    ui::TForm& Form() override { return *this; }
    folder::TFolderForm* RootForm() const override { return Root; }
    ui::TIdleEvent& IdleSlot() override { return Idle; }
    // Counts, and fills the idle slot as the real base window does, so that
    // "is a handler installed?" answers as in the program.
    void InstallEndOfRun(bool delayed) override {
        ++EndOfRunInstalls;
        LastInstallDelayed = delayed;
        Idle = ui::TIdleEvent(this, &TTestBaseForm::EndOfRunIdle);
    }
    void EndOfRunIdle(ui::TObject*, bool&) {}

    folder::TFolderForm* Root = nullptr;
    ui::TIdleEvent Idle;
    int EndOfRunInstalls = 0;
    bool LastInstallDelayed = false;
};

// Set up once for the whole run by the test environment.
TTestBaseForm& Base();
// The folder tree under %TEMP%:
//   a: b.txt, c.txt, sub (inner.txt, deep (leaf.txt))
//   empty (a folder with nothing in it)
//   top.txt
const shell_test::TempTree& Tree();
// Errors the toolkit reported while the tests ran (instead of message boxes).
std::vector<std::wstring>& ReportedErrors();

// A root shell object for an absolute path.
std::unique_ptr<folder::TShellObject> RootObject(const std::wstring& path);
// The relative lists a folder enumerates (folders, files and hidden items).
std::vector<shell::UniquePidl> Enumerate(IShellFolder* folder);
// The file-system name of a relative list inside folder ("b.txt").
std::wstring NameIn(IShellFolder* folder, LPCITEMIDLIST relative);
// A child object of parent for the enumerated item called name, or null.
std::unique_ptr<folder::TShellObject> ChildNamed(const folder::TShellObject& parent, const std::wstring& name);

// A root menu window owned by the base window but held by the caller, so a
// test can destroy it when it likes. The base window's root is set to it.
std::unique_ptr<folder::TFolderForm> MakeRootForm();
// A child menu window owned (and later destroyed) by parent.
folder::TFolderForm* MakeChildForm(folder::TFolderForm& parent);
// Adds one entry (menu item and row together, as population does); the
// entry owns tag.
void AddEntry(folder::TFolderForm& form, const std::wstring& caption, std::unique_ptr<folder::TShellObject> tag,
              folder::TFolderForm* child = nullptr);

// Sets the thread's key state for the length of a test (GetKeyState and
// the drag loop's button state read it).
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::copy(std::begin(saved_), std::end(saved_), state);
        for (int vk : keys) state[vk] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256] = {};
};

// Dispatches messages for about ms milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until done() holds (checked every 10 ms) or timeoutMs
// has passed; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace folder_test
