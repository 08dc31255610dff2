#include "ui/message_box.h"

namespace ui {

TMessageBoxHook OnMessageBox;

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    if (OnMessageBox) return OnMessageBox(owner, text, caption, flags);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace ui
