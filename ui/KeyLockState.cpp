#include "ui/KeyLockState.h"

#ifdef _WIN32
#include <windows.h>

std::optional<bool> GetKeyLockState(EKeyLock eKey)
{
    const int nKey = eKey == EKeyLock::Caps ? VK_CAPITAL : eKey == EKeyLock::Num ? VK_NUMLOCK : VK_SCROLL;
    return (GetKeyState(nKey) & 1) != 0;
}
#else
// Qt does not report lock states on the other platforms.
std::optional<bool> GetKeyLockState(EKeyLock)
{
    return std::nullopt;
}
#endif
