#include "ui/CMessageBoxSink.h"

#include "ui/CMainFrame.h"

#include <cstdio>

void CMessageBoxSink::SetMainFrame(CMainFrame* pMainFrame)
{
    m_pMainFrame = pMainFrame;
}

void CMessageBoxSink::ShowMessage(const std::string& strText, tarvek::EMessageIcon eIcon)
{
    QMessageBox box(ToIcon(eIcon), QStringLiteral("Tarvek"), QString::fromStdString(strText), QMessageBox::Ok,
                    VisibleMainFrame());
    box.exec();
}

void CMessageBoxSink::ShowWarning(const std::string& strText)
{
    if (m_pMainFrame && m_pMainFrame->isVisible())
        m_pMainFrame->ShowNote(QString::fromStdString(strText));
    else
        std::fprintf(stderr, "tarvek: %s\n", strText.c_str());
}

QMessageBox::Icon CMessageBoxSink::ToIcon(tarvek::EMessageIcon eIcon)
{
    switch (eIcon) {
    case tarvek::EMessageIcon::Error:
        return QMessageBox::Critical;
    case tarvek::EMessageIcon::Information:
        return QMessageBox::Information;
    case tarvek::EMessageIcon::Warning:
        break;
    }
    return QMessageBox::Warning;
}

QWidget* CMessageBoxSink::VisibleMainFrame() const
{
    return m_pMainFrame && m_pMainFrame->isVisible() ? m_pMainFrame.data() : nullptr;
}
