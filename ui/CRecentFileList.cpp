#include "ui/CRecentFileList.h"

#include <QSettings>

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString EntryName(int nIndex)
{
    return QStringLiteral("File%1").arg(nIndex + 1);
}

// File names ignore letter case where the file system does.
constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

} // namespace

CRecentFileList::CRecentFileList(int nSize, QObject* pParent) : QObject(pParent), m_nSize(nSize) {}

void CRecentFileList::Add(const QString& strPath)
{
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (m_paths[i].compare(strPath, kPathCase) == 0) {
            m_paths.removeAt(i);
            break;
        }
    }
    m_paths.prepend(strPath);
    while (m_paths.size() > m_nSize)
        m_paths.removeLast();
    emit Changed();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_paths.size())
        return;
    m_paths.removeAt(nIndex);
    emit Changed();
}

void CRecentFileList::ReadList(QSettings& settings)
{
    m_paths.clear();
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        const QString strPath = settings.value(EntryName(i)).toString();
        if (!strPath.isEmpty())
            m_paths.append(strPath);
    }
    settings.endGroup();
    emit Changed();
}

void CRecentFileList::WriteList(QSettings& settings) const
{
    settings.beginGroup(kSection);
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_paths.size())
            settings.setValue(EntryName(i), m_paths[i]);
        else
            settings.remove(EntryName(i));
    }
    settings.endGroup();
}
