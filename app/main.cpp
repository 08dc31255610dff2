// Quince: shows a shell folder as a cascading popup menu at the pointer.
#include <windows.h>

#include <memory>

#include "app/base_form.h"
#include "app/run_lifetime.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    auto& app = ui::Application();
    int exitCode = 0;
    try {
        app::StartRun();
        app.Initialize();
        app.MainFormOnTaskBar = true;
        {
            auto base = std::make_unique<app::TBaseForm>();
            app.SetMainForm(base.get());
            base->CreateHandle();
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
