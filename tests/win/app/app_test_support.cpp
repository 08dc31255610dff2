#include "app_test_support.h"

#include <gtest/gtest.h>

#include <mutex>
#include <optional>

#include "shell/shell_utils.h"
#include "ui/application.h"

namespace apptest {

namespace {

constexpr DWORD kDbgPrintA = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kDbgPrintW = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

std::mutex g_mutex;
std::vector<std::wstring> g_lines;
std::optional<std::wstring> g_pendingWide;
PVOID g_handler = nullptr;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    if ((r->ExceptionCode == kDbgPrintW || r->ExceptionCode == kDbgPrintA) && r->NumberParameters >= 2) {
        std::wstring line;
        if (r->ExceptionCode == kDbgPrintW) {
            line = reinterpret_cast<const wchar_t*>(r->ExceptionInformation[1]);
        } else {
            for (const char* p = reinterpret_cast<const char*>(r->ExceptionInformation[1]); *p; ++p)
                line.push_back(static_cast<unsigned char>(*p));
        }
        std::lock_guard lock(g_mutex);
        // Systems that raise the wide form first raise the narrow one after
        // it for old debuggers: keep one line per call.
        if (r->ExceptionCode == kDbgPrintW) {
            g_pendingWide = line;
        } else if (g_pendingWide && *g_pendingWide == line) {
            g_pendingWide.reset();
            return EXCEPTION_CONTINUE_SEARCH;
        }
        g_lines.push_back(line);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        shell::ShellStartup();
        ui::Application().Initialize();
        ui::Application().MainFormOnTaskBar = true;
    }
    void TearDown() override { shell::ShellShutdown(); }
};

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

DebugCapture::DebugCapture() {
    Clear();
    g_handler = AddVectoredExceptionHandler(1, OnException);
}

DebugCapture::~DebugCapture() { RemoveVectoredExceptionHandler(g_handler); }

std::vector<std::wstring> DebugCapture::Lines() const {
    std::lock_guard lock(g_mutex);
    return g_lines;
}

void DebugCapture::Clear() {
    std::lock_guard lock(g_mutex);
    g_lines.clear();
    g_pendingWide.reset();
}

bool TakeQuitMessage() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

ScopedBaseForm::ScopedBaseForm() : form(std::make_unique<app::TBaseForm>()) {
    ui::Application().SetMainForm(form.get());
    form->CreateHandle();
    form->Show();
    TakeQuitMessage();
}

ScopedBaseForm::~ScopedBaseForm() {
    ui::Application().SetMainForm(nullptr);
    form.reset();
    Pump(0);
    TakeQuitMessage();
}

LPARAM AnotherProgramsThread() {
    return static_cast<LPARAM>(GetWindowThreadProcessId(GetDesktopWindow(), nullptr));
}

bool IdleTurn() {
    // As the application's loop does: the queue is empty when idle comes.
    Pump(0);
    return ui::Application().DoIdle();
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

}  // namespace apptest
