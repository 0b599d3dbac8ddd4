#pragma once

#include <QObject>
#include <QStringList>

class QSettings;

// The most recently converted files, newest first, kept in the settings between runs.
class CRecentFileList : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultSize = 8;

    explicit CRecentFileList(int nSize = kDefaultSize, QObject* pParent = nullptr);

    // Puts the path at the top; a path already on the list moves there.
    void Add(const QString& strPath);
    void Remove(int nIndex);

    int GetSize() const { return m_nSize; }
    const QStringList& Paths() const { return m_paths; }

    // The group "Recent File List" with the entries "File1" to "File<size>".
    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

signals:
    void Changed();

private:
    int m_nSize;
    QStringList m_paths;
};
