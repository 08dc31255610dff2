#pragma once
// Popup menu items: caption, tag, enabled flag, image index and click
// event. The program's menus hold items as a model of rows; the rows measure
// and draw themselves like native popup-menu items.
#include <windows.h>
#include <uxtheme.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui {

class TImageList;
class TMenuMetrics;
class TPopupMenu;

// ODS_* bits of a row being drawn.
using TOwnerDrawState = UINT;

class TMenuItem : public TObject {
public:
    TMenuItem() = default;
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::wstring Caption;
    // The object the item stands for (not owned: its owner keeps it alive
    // for as long as the item).
    TObject* Tag = nullptr;
    bool Enabled = true;
    int ImageIndex = -1;
    TNotifyEvent OnClick;

    // Raises OnClick when the item is enabled.
    void Click();
    // The menu that holds the item (set when it is added), or null.
    TPopupMenu* Menu() const noexcept { return menu_; }

    // Measures the row as a native popup-menu row at the given metrics: the
    // width it needs and its height.
    void MeasureItem(HDC canvas, const TMenuMetrics& metrics, int& width, int& height) const;
    // Draws the row into rect: the selection highlight for ODS_SELECTED, the
    // icon from the menu's image list, the caption ("&&" shows as "&"), and
    // the greyed look of a disabled item. With theme (the visual style's
    // "MENU" data, see menu_theme.h) the row is drawn with the style's popup
    // parts; without, in the classic system colours.
    void DrawItem(HDC canvas, const RECT& rect, TOwnerDrawState state, const TMenuMetrics& metrics,
                  HTHEME theme = nullptr) const;

private:
    void DrawClassic(HDC canvas, const RECT& rect, bool selected, const TMenuMetrics& metrics) const;
    void DrawThemed(HDC canvas, const RECT& rect, bool selected, const TMenuMetrics& metrics, HTHEME theme) const;
    void DrawIcon(HDC canvas, const RECT& rect, const TMenuMetrics& metrics) const;
    friend class TPopupMenu;
    TPopupMenu* menu_ = nullptr;
};

class TPopupMenu : public TObject {
public:
    TImageList* Images = nullptr;
    // The items, owned by the menu.
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const noexcept { return items_; }
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    TMenuItem& Item(int index) const { return *items_.at(static_cast<size_t>(index)); }
    TMenuItem& Add(std::unique_ptr<TMenuItem> item);
    void Clear() noexcept { items_.clear(); }
    void Reserve(size_t count) { items_.reserve(count); }

    // The row layout of this menu's items at a DPI (its icons' size decides
    // the icon column).
    const TMenuMetrics& Metrics(UINT dpi) const;

private:
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace ui
