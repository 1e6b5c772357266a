// The callback a long kernel computation calls between its pieces, so that the engine above can yield to
// the window, publish progress and cancel.
#pragma once

#include <functional>

namespace ovn::kernel {

// Receives the share of the work done so far (0 to 1, never decreasing); it may throw to abandon the
// computation, which then leaves no partial result behind.
using StepHook = std::function<void(double done)>;

// A hook for one stage of a longer computation: it maps the stage's 0..1 onto from..to of `hook`.
// The result refers to `hook` and must not outlive it; an empty hook gives an empty hook.
inline StepHook Within(const StepHook& hook, double from, double to) {
  if (!hook) return {};
  return [&hook, from, to](double done) { hook(from + (to - from) * done); };
}

}  // namespace ovn::kernel
