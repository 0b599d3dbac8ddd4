#pragma once

#include <optional>

enum class EKeyLock { Caps, Num, Scroll };

// Whether the lock key is on; nothing where the platform does not tell.
std::optional<bool> GetKeyLockState(EKeyLock eKey);
