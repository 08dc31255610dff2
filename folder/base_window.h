#pragma once
// What the menu windows and command routines need of the program's one base
// window: its form (owner handle, hide, close), the root menu window and the
// idle handler slot where end-of-run handlers are installed.
#include "ui/application.h"
#include "ui/form.h"

namespace folder {

class IBaseWindow {
public:
    virtual ui::TForm& Form() = 0;
    // The root menu window, or null (the program's own base window answers
    // with its TFolderForm).
    virtual ui::TForm* RootForm() const = 0;
    // The idle handler slot of the base window's application events.
    virtual ui::TIdleEvent& IdleSlot() = 0;
    // Installs the handler that ends the run on the next idle turn, or, when
    // delayed, once the property sheet host window has come and gone.
    virtual void InstallEndOfRun(bool delayed) = 0;

protected:
    ~IBaseWindow() = default;
};

// The application-wide reference to the base window (null before it exists).
IBaseWindow* BaseWindow() noexcept;
void SetBaseWindow(IBaseWindow* base) noexcept;

}  // namespace folder
