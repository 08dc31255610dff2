#pragma once
// One shell item with everything needed to address it: its list relative to
// its folder, its absolute list, its IShellItem, the folder holding it and,
// when it is a folder itself, its own folder.
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstddef>

#include "core/live_count.h"
#include "shell/shell_types.h"
#include "ui/application.h"

namespace folder {

// An item's own folder, bound the first time it is read. Binding is by far
// the dearest question asked of an item (milliseconds per file under Wine,
// and it fails for every file), so an entry that is only listed never pays
// for it; every reader still sees the folder the item binds to, or null.
class TLazyFolder {
public:
    explicit TLazyFolder(const Microsoft::WRL::ComPtr<IShellItem>& item) noexcept : item_(item) {}
    TLazyFolder(const TLazyFolder&) = delete;
    TLazyFolder& operator=(const TLazyFolder&) = delete;

    IShellFolder* Get() const;
    IShellFolder* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }
    operator Microsoft::WRL::ComPtr<IShellFolder>() const { return Get(); }
    friend bool operator==(const TLazyFolder& f, std::nullptr_t) { return f.Get() == nullptr; }
    // Replaces the folder (tests put stand-ins here).
    TLazyFolder& operator=(Microsoft::WRL::ComPtr<IShellFolder> folder) noexcept;

private:
    const Microsoft::WRL::ComPtr<IShellItem>& item_;
    mutable Microsoft::WRL::ComPtr<IShellFolder> folder_;
    mutable bool bound_ = false;
};

class TShellObject : public ui::TObject, public core::TLiveCount<TShellObject> {
public:
    // AItemID is relative to AParent's folder, or absolute when AParent is
    // null. Raises ShellError when no shell item can be made.
    TShellObject(const TShellObject* AParent, shell::RelativePidl AItemID);
    ~TShellObject() override;
    TShellObject(const TShellObject&) = delete;
    TShellObject& operator=(const TShellObject&) = delete;
    // LiveCount(): shell objects alive in the process (for leak checks).

    const shell::RelativePidl RelID;
    const shell::AbsolutePidl AbsID;
    Microsoft::WRL::ComPtr<IShellItem> Item;
    Microsoft::WRL::ComPtr<IShellFolder> Parent;   // null for a root object
    TLazyFolder Current{Item};  // null when it is no folder
};

}  // namespace folder
