#pragma once
// A method reference: an object and one of its member functions. An event
// slot holding an empty code part means "no handler"; callers test that.
#include <memory>
#include <utility>

namespace ui {

template <typename... Args>
class TMethod {
public:
    TMethod() = default;

    template <class T>
    TMethod(T* object, void (T::*code)(Args...))
        : binding_(code ? std::make_shared<Binding<T>>(object, code) : nullptr) {}

    // True when a handler is set (the code part is not empty).
    explicit operator bool() const noexcept { return binding_ != nullptr; }

    void Clear() noexcept { binding_.reset(); }

    void operator()(Args... args) const {
        // Keep the binding alive even if the handler replaces the slot.
        auto keep = binding_;
        if (keep) keep->Call(std::forward<Args>(args)...);
    }

private:
    struct BindingBase {
        virtual ~BindingBase() = default;
        virtual void Call(Args... args) = 0;
    };
    template <class T>
    struct Binding final : BindingBase {
        Binding(T* o, void (T::*c)(Args...)) : object(o), code(c) {}
        void Call(Args... args) override { (object->*code)(std::forward<Args>(args)...); }
        T* object;
        void (T::*code)(Args...);
    };
    std::shared_ptr<BindingBase> binding_;
};

}  // namespace ui
