#include "ui/form_font.h"

#include <map>
#include <utility>

namespace ui {

SharedFont AcquireFormFont(const std::wstring& name, int height) {
    // Weak entries: the cache itself keeps no font alive.
    static std::map<std::pair<std::wstring, int>, std::weak_ptr<std::remove_pointer_t<HFONT>>> cache;
    auto key = std::make_pair(name, height);
    if (auto it = cache.find(key); it != cache.end()) {
        if (SharedFont font = it->second.lock()) return font;
    }
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str());
    if (!font) return nullptr;
    SharedFont shared(font, [](HFONT f) { DeleteObject(f); });
    cache[key] = shared;
    return shared;
}

}  // namespace ui
