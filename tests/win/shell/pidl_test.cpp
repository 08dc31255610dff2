// Item ID list primitives on hand-made lists, and their use of the shell
// allocator.
#include <gtest/gtest.h>

#include <algorithm>

#include "shell/shell_types.h"
#include "test_support.h"

using namespace shell;
using shell_test::AsPidl;
using shell_test::Bytes;
using shell_test::MakeList;

namespace {

USHORT FirstCount(LPCITEMIDLIST pidl) { return pidl->mkid.cb; }

}  // namespace

TEST(PidlMeasure, SizeAndCount) {
    EXPECT_EQ(PidlSize(nullptr), 0);
    auto empty = MakeList({});
    EXPECT_EQ(PidlSize(AsPidl(empty)), 2);
    EXPECT_EQ(PidlCount(AsPidl(empty)), 0);
    auto two = MakeList({20, 14});
    EXPECT_EQ(PidlSize(AsPidl(two)), 36);
    EXPECT_EQ(PidlCount(AsPidl(two)), 2);
    // Counts above 255 use the high byte of the little-endian count.
    auto big = MakeList({300, 3, 1000});
    EXPECT_EQ(PidlSize(AsPidl(big)), 1305);
    EXPECT_EQ(PidlCount(AsPidl(big)), 3);
}

TEST(PidlMeasure, NextStepsOverOneItemAndStopsAtTerminator) {
    auto two = MakeList({20, 14});
    LPCITEMIDLIST second = PidlNext(AsPidl(two));
    EXPECT_EQ(reinterpret_cast<const BYTE*>(second), two.data() + 20);
    EXPECT_EQ(FirstCount(second), 14);
    LPCITEMIDLIST end = PidlNext(second);
    EXPECT_EQ(FirstCount(end), 0);
    EXPECT_EQ(PidlNext(end), end);
}

TEST(PidlAllocate, BlocksAreZeroFilled) {
    for (UINT size : {2u, 37u, 4096u}) {
        UniquePidl block(PidlAlloc(size));
        ASSERT_NE(block, nullptr);
        auto bytes = Bytes(block.get(), size);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](BYTE b) { return b == 0; })) << size;
    }
    PidlFree(nullptr);  // nothing to do, and no fault
}

TEST(PidlCopying, CopyIsIndependentAndExact) {
    auto empty = MakeList({});
    UniquePidl emptyCopy(PidlCopy(AsPidl(empty)));
    ASSERT_NE(emptyCopy, nullptr);
    EXPECT_NE(static_cast<void*>(emptyCopy.get()), empty.data());
    EXPECT_EQ(PidlSize(emptyCopy.get()), 2);

    auto two = MakeList({20, 14});
    UniquePidl copy(PidlCopy(AsPidl(two)));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Bytes(copy.get(), two.size()), two);
}

TEST(PidlCopying, Concat) {
    auto a = MakeList({20, 14}, 0x10);
    auto b = MakeList({10, 10}, 0x40);
    auto b1 = b;
    auto empty = MakeList({});

    UniquePidl joined(PidlConcat(AsPidl(a), AsPidl(b)));
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(PidlSize(joined.get()), 56);  // 36 + 22, one terminator
    EXPECT_EQ(PidlCount(joined.get()), 4);
    std::vector<BYTE> expected(a.begin(), a.end() - 2);
    expected.insert(expected.end(), b.begin(), b.end());
    EXPECT_EQ(Bytes(joined.get(), expected.size()), expected);

    // A null or empty first list gives a copy of the second; an empty second
    // list gives a copy of the first.
    UniquePidl fromNull(PidlConcat(nullptr, AsPidl(b)));
    EXPECT_EQ(Bytes(fromNull.get(), b.size()), b);
    UniquePidl fromEmpty(PidlConcat(AsPidl(empty), AsPidl(b)));
    EXPECT_EQ(Bytes(fromEmpty.get(), b.size()), b);
    UniquePidl toEmpty(PidlConcat(AsPidl(a), AsPidl(empty)));
    EXPECT_EQ(Bytes(toEmpty.get(), a.size()), a);
    EXPECT_EQ(b, b1);  // inputs untouched
}

TEST(PidlCopying, LastCopy) {
    auto three = MakeList({20, 14, 9});
    const auto before = three;
    UniquePidl last(PidlLastCopy(AsPidl(three)));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(PidlSize(last.get()), 9 + 2);
    std::vector<BYTE> expected(three.end() - 11, three.end());
    EXPECT_EQ(Bytes(last.get(), expected.size()), expected);
    EXPECT_EQ(three, before);

    auto one = MakeList({7});
    UniquePidl lastOfOne(PidlLastCopy(AsPidl(one)));
    EXPECT_EQ(Bytes(lastOfOne.get(), one.size()), one);

    auto empty = MakeList({});
    UniquePidl lastOfEmpty(PidlLastCopy(AsPidl(empty)));
    ASSERT_NE(lastOfEmpty, nullptr);
    EXPECT_NE(static_cast<void*>(lastOfEmpty.get()), empty.data());
    EXPECT_EQ(PidlSize(lastOfEmpty.get()), 2);
}

TEST(PidlStrip, CutsLastItemInPlace) {
    auto three = MakeList({20, 14, 9});
    PidlStripLast(AsPidl(three));
    EXPECT_EQ(PidlCount(AsPidl(three)), 2);
    EXPECT_EQ(PidlSize(AsPidl(three)), 36);
    // The cut item's data stays behind the new terminator.
    EXPECT_EQ(three[36 + 2], MakeList({20, 14, 9})[36 + 2]);

    auto one = MakeList({7});
    PidlStripLast(AsPidl(one));
    EXPECT_EQ(PidlSize(AsPidl(one)), 2);

    auto empty = MakeList({});
    PidlStripLast(AsPidl(empty));
    EXPECT_EQ(empty, MakeList({}));
    PidlStripLast(nullptr);
}

TEST(PidlAllocate, DesktopIsTheEmptyList) {
    UniquePidl desktop(GetDesktopPidl());
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(PidlSize(desktop.get()), 2);
}

// Every list made here comes from the COM task allocator and goes back there
// with PidlFree: the two must balance.
TEST(PidlAllocate, ShellAllocatorBalances) {
    shell_test::MallocSpyScope scope;
    ASSERT_TRUE(scope.registered()) << "CoRegisterMallocSpy refused";
    auto& spy = scope.spy();
    auto three = MakeList({20, 14, 9});
    {
        UniquePidl copy(PidlCopy(AsPidl(three)));
        UniquePidl joined(PidlConcat(copy.get(), AsPidl(three)));
        UniquePidl last(PidlLastCopy(joined.get()));
        UniquePidl block(PidlAlloc(64));
        UniquePidl desktop(GetDesktopPidl());
        EXPECT_EQ(spy.outstanding.size(), 5u);
        EXPECT_TRUE(spy.outstanding.count(copy.get()));
        EXPECT_TRUE(spy.outstanding.count(desktop.get()));
    }
    EXPECT_TRUE(spy.outstanding.empty());
    EXPECT_GE(spy.allocations, 5);
    EXPECT_EQ(spy.allocations, spy.frees);
}
