#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ui_test {

std::vector<std::wstring>& Reports() {
    static std::vector<std::wstring> reports;
    return reports;
}

namespace {

class UiEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ui::Application().Initialize();
        ui::Application().OnException = [](const std::wstring& text) { Reports().push_back(text); };
    }
};

// Registered before main runs, so that no test can reach a message box.
[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new UiEnvironment);

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        ui::Application().ProcessMessages();
        if (done()) return true;
        ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

void Settle(DWORD ms) { PumpUntil([] { return false; }, ms); }

void TestForm::CreateParams(ui::TCreateParams& p) {
    TForm::CreateParams(p);
    if (adjust) adjust(p);
}

LRESULT TestForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (hook && hook(msg, wp, lp, result)) return result;
    return TForm::WndProc(msg, wp, lp);
}

void Recorder::Bind(ui::TForm& form) {
    form.OnCreate = {this, &Recorder::Create};
    form.OnShow = {this, &Recorder::Show};
    form.OnHide = {this, &Recorder::Hide};
    form.OnDestroy = {this, &Recorder::Destroy};
    form.OnClick = {this, &Recorder::Click};
    form.OnContextPopup = {this, &Recorder::ContextPopup};
    form.OnMouseWheel = {this, &Recorder::MouseWheel};
}

void Recorder::Record(const char* event, ui::TObject* sender) {
    if (auto* form = dynamic_cast<ui::TForm*>(sender)) visibleInLast = form->Visible();
    log_.push_back(name_ + ":" + event);
    if (throwIn == event) throw core::Error(errorText);
}

}  // namespace ui_test
