#pragma once
// Icon lookups of one menu window's entries. Asking the shell for an icon
// index can take milliseconds per item (it may read the file), so it runs on
// a few background threads with COM apartments of their own; the answer is
// handed to the UI thread, which stores it in the entry's menu item and
// repaints that row where it is at that moment.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <unordered_map>

namespace ui {
class TMenuItem;
}

namespace folder {

class TFolderForm;

// Asks for the small, closed system icon index of an absolute list; -1 when
// the shell has none. Runs on a lookup thread.
using TIconResolver = int (*)(LPCITEMIDLIST absolute);

class TIconLookups {
public:
    enum class TState : std::uint8_t {
        None,       // not asked yet
        Pending,    // a lookup is in flight
        Done,       // ImageIndex holds the icon
        NoneFound,  // the shell has no icon: drawn without one, not asked again
    };

    explicit TIconLookups(TFolderForm& form);
    // Results that arrive after this apply nothing.
    ~TIconLookups();
    TIconLookups(const TIconLookups&) = delete;
    TIconLookups& operator=(const TIconLookups&) = delete;

    // Starts a lookup for item (row index) unless one is in flight or has
    // answered. The lookup keeps its own copy of absolute. UI thread.
    void Request(int index, const ui::TMenuItem& item, LPCITEMIDLIST absolute);
    TState State(const ui::TMenuItem& item) const;

    // Lookups started in this process.
    static long Started() noexcept;
    // Replaces what the lookup threads call (tests); gives the previous one.
    static TIconResolver SetResolver(TIconResolver resolver) noexcept;

    // The UI thread's end of a finished lookup: applies nothing when the
    // window is gone (owner is no live TIconLookups).
    static void Deliver(std::uint64_t owner, int index, const ui::TMenuItem* item, int icon);

private:
    void Apply(int index, const ui::TMenuItem* item, int icon);

    TFolderForm& form_;
    std::uint64_t id_;
    std::unordered_map<const ui::TMenuItem*, TState> states_;
};

}  // namespace folder
