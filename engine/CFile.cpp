#include "engine/CFile.h"

#include <cstring>

namespace tarvek {

std::size_t CFile::ReadZeroFilled(void* pBuffer, std::size_t nBytes)
{
    auto* p = static_cast<unsigned char*>(pBuffer);
    std::size_t nDone = 0;
    while (nDone < nBytes) {
        const std::size_t nGot = Read(p + nDone, nBytes - nDone);
        if (nGot == 0)
            break;
        nDone += nGot;
    }
    std::memset(p + nDone, 0, nBytes - nDone);
    return nDone;
}

} // namespace tarvek
