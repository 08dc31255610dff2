#pragma once
// Shared pieces of the toolkit tests: error reports collected instead of
// shown, message pumping with a timeout, a form whose creation parameters and
// window procedure a test can adjust, and an event recorder.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/error.h"
#include "ui/application.h"
#include "ui/form.h"

namespace ui_test {

// Every error report of the application since the last Reset. A test
// program must never reach the real message box: it would wait for a click.
std::vector<std::wstring>& Reports();

// Dispatches waiting messages until done() holds or timeoutMs passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Dispatches what is waiting now, then lets late arrivals (X events) come in.
void Settle(DWORD ms = 50);

class TestForm : public ui::TForm {
public:
    explicit TestForm(ui::TForm* owner = nullptr) : TForm(owner) {}
    ~TestForm() override { DestroyHandle(); }

    // Runs after the toolkit's own CreateParams.
    std::function<void(ui::TCreateParams&)> adjust;
    // Sees every message first; returning true answers it with `result`.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT& result)> hook;
    // Runs where child controls are made.
    std::function<void(TestForm&)> components;

protected:
    void CreateParams(ui::TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void CreateComponents() override {
        if (components) components(*this);
    }
};

// Records form events as "<name>:<event>" into a log; an event can be made
// to throw a core::Error.
class Recorder : public ui::TObject {
public:
    Recorder(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    void Bind(ui::TForm& form);
    std::string throwIn;  // event name that throws
    std::wstring errorText = L"フォルダーを開けません: C:\\データ";
    bool visibleInLast = false;  // the form's visibility during the last event
    POINT lastPoint{};
    int lastDelta = 0;
    ui::TShiftState lastShift = 0;
    bool handleWheel = false;

    void Create(ui::TObject* s) { Record("create", s); }
    void Show(ui::TObject* s) { Record("show", s); }
    void Hide(ui::TObject* s) { Record("hide", s); }
    void Destroy(ui::TObject* s) { Record("destroy", s); }
    void Click(ui::TObject* s) { Record("click", s); }
    void ContextPopup(ui::TObject* s, POINT pt, bool&) {
        lastPoint = pt;
        Record("popup", s);
    }
    void MouseWheel(ui::TObject* s, ui::TShiftState shift, int delta, POINT pt, bool& handled) {
        lastShift = shift;
        lastDelta = delta;
        lastPoint = pt;
        handled = handleWheel;
        Record("wheel", s);
    }

private:
    void Record(const char* event, ui::TObject* sender);
    std::string name_;
    std::vector<std::string>& log_;
};

// Makes a form the application's main form for one scope: the application
// object lives for the whole test program.
class MainFormScope {
public:
    explicit MainFormScope(ui::TForm& form) { ui::Application().SetMainForm(&form); }
    ~MainFormScope() { ui::Application().SetMainForm(nullptr); }
    MainFormScope(const MainFormScope&) = delete;
    MainFormScope& operator=(const MainFormScope&) = delete;
};

}  // namespace ui_test
