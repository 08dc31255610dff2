// Input: the first line is a mask, every further line a name to match.
// The compiled matcher must agree with the naive reference on whether the
// mask is malformed and on every name; the one-shot MatchesMask must agree
// with the compiled mask.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/wildcard.h"
#include "fuzz_input.h"
#include "reference_wildcard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> lines = fuzz::Lines(fuzz::Decode(data, size));
    const std::wstring mask = lines.front();
    lines.front().clear();  // the empty name is always tried as well

    const bool referenceMalformed = fuzz::ReferenceMalformed(mask);
    try {
        const core::WildcardMask compiled(mask);
        if (referenceMalformed) fuzz::Fail("mask " + fuzz::Show(mask) + " accepted, the reference rejects it");
        for (const std::wstring& name : lines) {
            const bool matches = compiled.Matches(name);
            if (core::MatchesMask(name, mask) != matches) {
                fuzz::Fail("MatchesMask and WildcardMask differ on mask " + fuzz::Show(mask) + " name " +
                           fuzz::Show(name));
            }
            const fuzz::ReferenceResult expected = fuzz::ReferenceMatch(mask, name);
            if (expected == fuzz::ReferenceResult::TooHard) continue;
            if (matches != (expected == fuzz::ReferenceResult::Match)) {
                fuzz::Fail("mask " + fuzz::Show(mask) + " name " + fuzz::Show(name) + ": matcher says " +
                           (matches ? "match" : "no match") + ", the reference the opposite");
            }
        }
    } catch (const core::MaskError& e) {
        if (!referenceMalformed) fuzz::Fail("mask " + fuzz::Show(mask) + " rejected (" + e.what() + "), the reference accepts it");
        if (e.Message().find(mask) == std::wstring::npos) fuzz::Fail("error for " + fuzz::Show(mask) + " does not name it");
    }
    return 0;
}
