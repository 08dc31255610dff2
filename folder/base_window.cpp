#include "folder/base_window.h"

namespace folder {

namespace {
IBaseWindow* g_baseWindow = nullptr;
}

IBaseWindow* BaseWindow() noexcept { return g_baseWindow; }
void SetBaseWindow(IBaseWindow* base) noexcept { g_baseWindow = base; }

}  // namespace folder
