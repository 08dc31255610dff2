#include "app/run_lifetime.h"

#include "app/process_reference.h"
#include "shell/shell_utils.h"

namespace app {

TProcessReference& ProcessReference() {
    // Static storage: when the wait gives up, a shell thread may still
    // release its reference later, up to the moment the process exits.
    static TProcessReference reference;
    return reference;
}

void StartRun() {
    shell::ShellStartup();
    ProcessReference().Register();
}

void EndRun() noexcept {
    // With OLE still up: the shell's threads may still talk to this thread's
    // apartment while they finish.
    ProcessReference().ReleaseAndWait(kShellWorkWaitLimit);
    shell::ShellShutdown();
}

}  // namespace app
