#pragma once

#include "cli/CCliHost.h"

#include <cstdio>
#include <string>

namespace tarvek {

// Reads a recording as a conversion would and prints what the target would hold,
// writing nothing. False when the recording could not be read.
bool PrintInfo(CCliHost& host, const std::string& strSource, bool bJson, std::FILE* pOut);

} // namespace tarvek
