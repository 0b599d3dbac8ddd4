#include "ui/CDocOpenService.h"

#include "ui/CRecentFileList.h"
#include "ui/CTarvekDoc.h"

#include <QDir>
#include <QFileInfo>

CDocOpenService::CDocOpenService(CTarvekDoc& doc, CRecentFileList& recentFiles)
    : m_doc(doc), m_recentFiles(recentFiles)
{
}

bool CDocOpenService::OpenDocumentFile(const QString& strPath)
{
    const QString strFullPath = MakeFullPath(strPath);
    if (!m_doc.OnOpenDocument(strFullPath))
        return false;
    m_doc.SetPathName(strFullPath);
    m_recentFiles.Add(strFullPath);
    return true;
}

bool CDocOpenService::OpenRecentFile(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_recentFiles.Paths().size())
        return false;
    const QString strPath = m_recentFiles.Paths()[nIndex];
    if (OpenDocumentFile(strPath))
        return true;
    m_recentFiles.Remove(nIndex);
    return false;
}

QString CDocOpenService::MakeFullPath(const QString& strPath)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(strPath).absoluteFilePath()));
}
