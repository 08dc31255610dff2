#pragma once
// What the run sets up before its first window and takes down after its
// last: the shell layer and the process reference the shell may hold.
namespace app {

class TProcessReference;

// Shell layer up (OLE, DesktopFolder, ShellLibrary), then the process
// reference handed to the shell. Raises what ShellStartup raises.
void StartRun();
// Call after every window is gone: waits (pumping messages) until the shell
// has released every reference it took, or kShellWorkWaitLimit has passed,
// then shuts the shell layer down (which flushes a clipboard of ours first).
void EndRun() noexcept;
// The run's process reference.
TProcessReference& ProcessReference();

}  // namespace app
