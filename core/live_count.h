#pragma once
// How many objects of a class are alive in the process, for leak checks: a
// class derives from TLiveCount<itself> and answers LiveCount(). An object
// whose construction fails is not counted.
#include <atomic>

namespace core {

template <class T>
class TLiveCount {
public:
    static long LiveCount() noexcept { return count_.load(); }

protected:
    TLiveCount() noexcept { ++count_; }
    TLiveCount(const TLiveCount&) noexcept { ++count_; }
    TLiveCount& operator=(const TLiveCount&) noexcept = default;
    ~TLiveCount() { --count_; }

private:
    static inline std::atomic<long> count_{0};
};

}  // namespace core
