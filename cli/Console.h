#pragma once

#include <string>
#include <vector>

namespace tarvek {

// The program's arguments as UTF-8, whatever the platform hands to main: on Windows they
// are taken from the wide command line, since the ANSI code page cannot name every file.
std::vector<std::string> GetUtf8Arguments(int argc, char** argv);

// While it lives, the console shows the program's UTF-8 output as UTF-8 (on Windows it
// switches the console's output code page and restores it afterwards).
class CUtf8Console {
public:
    CUtf8Console();
    ~CUtf8Console();
    CUtf8Console(const CUtf8Console&) = delete;
    CUtf8Console& operator=(const CUtf8Console&) = delete;

#ifdef _WIN32
private:
    unsigned m_nPreviousCodePage = 0;
#endif
};

} // namespace tarvek
