#pragma once
// Runs a piece of code when a scope is left, by return or by exception:
//
//   auto reset = core::ScopeExit([&] { canvas_ = nullptr; });
#include <utility>

namespace core {

template <typename F>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

}  // namespace core
