#pragma once

#include "engine/CMessageSink.h"

#include <QMessageBox>
#include <QPointer>

class CMainFrame;

// Shows each message of a conversion in a modal box titled "Tarvek" with one OK button.
// A warning about a conversion that still succeeded goes to the status bar instead, or
// to the standard error stream when no window is shown.
class CMessageBoxSink : public tarvek::CMessageSink {
public:
    void SetMainFrame(CMainFrame* pMainFrame);

    void ShowMessage(const std::string& strText, tarvek::EMessageIcon eIcon) override;
    void ShowWarning(const std::string& strText) override;

    static QMessageBox::Icon ToIcon(tarvek::EMessageIcon eIcon);

private:
    QWidget* VisibleMainFrame() const;

    QPointer<CMainFrame> m_pMainFrame;
};
