#include "folder_test_support.h"

#include <stdexcept>

#include "shell/shell_utils.h"
#include "ui/application.h"
#include "ui/menu.h"

namespace folder_test {

TTestBaseForm::TTestBaseForm() : ui::TForm(nullptr) {
    WindowClassName = L"TQuinceTestBase";
    Caption = L"Quince test base";
    BorderStyle = ui::TBorderStyle::None;
    DesignClientWidth = 64;
    DesignClientHeight = 64;
    folder::SetBaseWindow(this);
}

TTestBaseForm::~TTestBaseForm() {
    DestroyHandle();
    if (folder::BaseWindow() == this) folder::SetBaseWindow(nullptr);
}

std::unique_ptr<folder::TShellObject> RootObject(const std::wstring& path) {
    return std::make_unique<folder::TShellObject>(nullptr, shell::PathToPidl(shell::DesktopFolder.Get(), path));
}

std::vector<shell::UniquePidl> Enumerate(IShellFolder* folder) {
    std::vector<shell::UniquePidl> lists;
    Microsoft::WRL::ComPtr<IEnumIDList> items;
    if (folder == nullptr ||
        folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &items) != S_OK ||
        !items)
        return lists;
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) lists.emplace_back(item);
    return lists;
}

std::wstring NameIn(IShellFolder* folder, LPCITEMIDLIST relative) {
    return shell::GetDisplayName(folder, relative, SHGDN_INFOLDER | SHGDN_FORPARSING);
}

std::unique_ptr<folder::TShellObject> ChildNamed(const folder::TShellObject& parent, const std::wstring& name) {
    for (auto& list : Enumerate(parent.Current.Get())) {
        if (lstrcmpiW(NameIn(parent.Current.Get(), list.get()).c_str(), name.c_str()) == 0)
            return std::make_unique<folder::TShellObject>(&parent, std::move(list));
    }
    return nullptr;
}

std::unique_ptr<folder::TFolderForm> MakeRootForm() {
    auto form = std::make_unique<folder::TFolderForm>(&Base());
    form->CreateHandle();
    Base().Root = form.get();
    return form;
}

folder::TFolderForm* MakeChildForm(folder::TFolderForm& parent) {
    auto* child = parent.Own(std::make_unique<folder::TFolderForm>(&parent));
    child->CreateHandle();
    return child;
}

void AddEntry(folder::TFolderForm& form, const std::wstring& caption, std::unique_ptr<folder::TShellObject> tag,
              folder::TFolderForm* child) {
    std::vector<std::unique_ptr<ui::TMenuItem>> rows(1);
    rows[0] = std::make_unique<ui::TMenuItem>();
    rows[0]->Caption = caption;
    rows[0]->Enabled = tag != nullptr || child != nullptr;
    std::vector<folder::TFolderEntry> entries(1);
    entries[0].object = std::move(tag);
    entries[0].opensSubMenu = child != nullptr;
    form.Entries().Add(std::move(rows), std::move(entries));
    form.FileView->SetCount(form.FileList.Count());
    if (child) form.SetChildForm(form.FileList.Count() - 1, *child);
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end) return done();
        PumpFor(10);
    }
    return true;
}

}  // namespace folder_test
