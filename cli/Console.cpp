#include "cli/Console.h"

#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>
#endif

namespace tarvek {

#ifdef _WIN32

std::vector<std::string> GetUtf8Arguments(int, char**)
{
    std::vector<std::string> arguments;
    int nCount = 0;
    wchar_t** ppwszArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nCount);
    if (!ppwszArgs)
        return arguments;
    for (int i = 0; i < nCount; ++i) {
        const wchar_t* pwsz = ppwszArgs[i];
        const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, pwsz, -1, nullptr, 0, nullptr, nullptr);
        std::string str(nBytes > 0 ? static_cast<std::size_t>(nBytes) : 1, '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, pwsz, -1, str.data(), nBytes, nullptr, nullptr);
        str.pop_back();
        arguments.push_back(std::move(str));
    }
    ::LocalFree(ppwszArgs);
    return arguments;
}

CUtf8Console::CUtf8Console() : m_nPreviousCodePage(::GetConsoleOutputCP())
{
    if (m_nPreviousCodePage != 0)
        ::SetConsoleOutputCP(CP_UTF8);
}

CUtf8Console::~CUtf8Console()
{
    if (m_nPreviousCodePage != 0)
        ::SetConsoleOutputCP(m_nPreviousCodePage);
}

#else

std::vector<std::string> GetUtf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

CUtf8Console::CUtf8Console() = default;
CUtf8Console::~CUtf8Console() = default;

#endif

} // namespace tarvek
