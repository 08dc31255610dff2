#pragma once
// One shell item with everything needed to address it: its list relative to
// its folder, its absolute list, its IShellItem, the folder holding it and,
// when it is a folder itself, its own folder.
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "ui/application.h"

namespace folder {

class TShellObject : public ui::TObject {
public:
    // Adopts AItemID (relative to AParent's folder, or absolute when AParent
    // is null): from the call on, the caller neither frees nor uses it, also
    // when construction fails. Raises ShellError when no shell item can be made.
    TShellObject(const TShellObject* AParent, LPITEMIDLIST AItemID);
    ~TShellObject() override;
    TShellObject(const TShellObject&) = delete;
    TShellObject& operator=(const TShellObject&) = delete;

    LPITEMIDLIST RelID = nullptr;
    LPITEMIDLIST AbsID = nullptr;
    Microsoft::WRL::ComPtr<IShellItem> Item;
    Microsoft::WRL::ComPtr<IShellFolder> Parent;   // null for a root object
    Microsoft::WRL::ComPtr<IShellFolder> Current;  // null when it is no folder

    // Number of shell objects alive in the process (for leak checks).
    static long LiveCount() noexcept;

private:
    void Build(const TShellObject* AParent);
    void FreeLists() noexcept;
};

}  // namespace folder
