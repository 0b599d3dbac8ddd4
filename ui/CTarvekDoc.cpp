#include "ui/CTarvekDoc.h"

#include "engine/CConversionJob.h"
#include "ui/CTarvekView.h"

#include <QFileInfo>

CTarvekDoc::CTarvekDoc(tarvek::CJobHost& host, tarvek::CFileSystem& fileSystem, QObject* pParent)
    : QObject(pParent), m_host(host), m_fileSystem(fileSystem)
{
}

bool CTarvekDoc::OnNewDocument()
{
    SetPathName(QString());
    return true;
}

bool CTarvekDoc::OnOpenDocument(const QString& strPath)
{
    m_strConverting = strPath;
    tarvek::CConversionJob job(m_host, m_fileSystem);
    const bool bOpened = job.OnOpenDocument(strPath.toStdString());
    m_strConverting.clear();
    return bOpened;
}

void CTarvekDoc::SetPathName(const QString& strPath)
{
    m_strPathName = strPath;
    emit TitleChanged(GetTitle());
}

QString CTarvekDoc::GetTitle() const
{
    return m_strPathName.isEmpty() ? tr("Untitled") : QFileInfo(m_strPathName).fileName();
}

void CTarvekDoc::AddView(CTarvekView* pView)
{
    m_views.append(pView);
}

void CTarvekDoc::UpdateAllViews()
{
    for (const QPointer<CTarvekView>& pView : m_views) {
        if (pView)
            pView->OnUpdate();
    }
}
