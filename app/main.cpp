// Quince: shows a shell folder as a cascading popup menu at the pointer.
#include <windows.h>

#include <memory>

#include "app/base_form.h"
#include "app/run_lifetime.h"
#include "shell/small_icon_list.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    auto& app = ui::Application();
    int exitCode = 0;
    try {
        app::StartRun();
        // Only the program itself: a thread still in the shell's icon code
        // when a process ends abruptly can leave the shell's own clean-up
        // waiting for ever, and the program never ends abruptly.
        shell::PrefetchSmallIconList();
        app.Initialize();
        app.MainFormOnTaskBar = true;
        {
            auto base = std::make_unique<app::TBaseForm>();
            app.SetMainForm(base.get());
            base->CreateHandle();
            // The root is found and listed while the base window shows.
            base->StartRootSearch();
            app.Run();
            // The windows, and with them every shell item they hold, go
            // while the shell layer is still up.
            app.SetMainForm(nullptr);
        }
    } catch (...) {
        app.HandleException();
        exitCode = 1;
    }
    // Only now, with every window gone: the shell may still be copying for us.
    app::EndRun();
    return exitCode;
}
