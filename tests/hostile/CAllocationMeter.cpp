#include "tests/hostile/CAllocationMeter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_nHeld{0};
std::atomic<std::size_t> g_nPeak{0};

// Each block carries its size in front of it, so that every form of delete can count it.
constexpr std::size_t kPrefix = alignof(std::max_align_t);

void *Allocate(std::size_t nBytes)
{
    void *pBlock = std::malloc(nBytes + kPrefix);
    if (!pBlock)
        throw std::bad_alloc();
    *static_cast<std::size_t *>(pBlock) = nBytes;
    const std::size_t nHeld = g_nHeld += nBytes;
    std::size_t nPeak = g_nPeak;
    while (nHeld > nPeak && !g_nPeak.compare_exchange_weak(nPeak, nHeld)) {
    }
    return static_cast<char *>(pBlock) + kPrefix;
}

void Release(void *p) noexcept
{
    if (!p)
        return;
    void *pBlock = static_cast<char *>(p) - kPrefix;
    g_nHeld -= *static_cast<std::size_t *>(pBlock);
    std::free(pBlock);
}

} // namespace

void *operator new(std::size_t nBytes)
{
    return Allocate(nBytes);
}
void *operator new[](std::size_t nBytes)
{
    return Allocate(nBytes);
}
void operator delete(void *p) noexcept
{
    Release(p);
}
void operator delete[](void *p) noexcept
{
    Release(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    Release(p);
}
void *operator new(std::size_t nBytes, const std::nothrow_t &) noexcept
{
    try {
        return Allocate(nBytes);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
void *operator new[](std::size_t nBytes, const std::nothrow_t &tag) noexcept
{
    return operator new(nBytes, tag);
}
void operator delete(void *p, const std::nothrow_t &) noexcept
{
    Release(p);
}
void operator delete[](void *p, const std::nothrow_t &) noexcept
{
    Release(p);
}

namespace tarvek::test {

CAllocationMeter::CAllocationMeter() : m_nStart(g_nHeld)
{
    g_nPeak = m_nStart;
}

std::size_t CAllocationMeter::Peak() const
{
    return g_nPeak > m_nStart ? g_nPeak - m_nStart : 0;
}

} // namespace tarvek::test
