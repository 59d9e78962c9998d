#pragma once
// The program's one source of randomness (quiz order, direction, proposals of
// multiple choice). Tests install a scripted source.
#include <functional>

namespace platform {

// A whole number in 0 .. bound-1 (0 when bound < 1).
int randomBelow(int bound);

// Replaces the source (tests): the function gets the bound and returns the
// number. An empty function restores the real source.
using RandomSource = std::function<int(int bound)>;
RandomSource setRandomSource(RandomSource source);

} // namespace platform
