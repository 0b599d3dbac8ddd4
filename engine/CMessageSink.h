#pragma once

#include <string>

namespace tarvek {

enum class EMessageIcon { Warning, Error, Information };

// Every message of the engine passes here. The desktop program shows a modal box, the
// command line prints, tests record.
class CMessageSink {
public:
    virtual ~CMessageSink() = default;

    virtual void ShowMessage(const std::string& strText, EMessageIcon eIcon) = 0;

    // A notice that the conversion still succeeded despite something the user should
    // know (a recording cut short). Never a modal box.
    virtual void ShowWarning(const std::string& strText) = 0;
};

} // namespace tarvek
