#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

namespace tarvek {
class CFileSystem;
class CJobHost;
} // namespace tarvek
class CTarvekView;

// The one document of the program. It holds no data: opening a file is the conversion
// job, whose records the views show.
class CTarvekDoc : public QObject {
    Q_OBJECT

public:
    CTarvekDoc(tarvek::CJobHost& host, tarvek::CFileSystem& fileSystem, QObject* pParent = nullptr);

    // The empty document of a window started without a file.
    bool OnNewDocument();
    // The conversion job; strPath is a full path.
    bool OnOpenDocument(const QString& strPath);

    // The file being converted, while OnOpenDocument runs; empty otherwise.
    const QString& GetConvertingPath() const { return m_strConverting; }

    void SetPathName(const QString& strPath);
    const QString& GetPathName() const { return m_strPathName; }
    // The file name of the path name, or "Untitled".
    QString GetTitle() const;

    void AddView(CTarvekView* pView);
    void UpdateAllViews();

signals:
    void TitleChanged(const QString& strTitle);

private:
    tarvek::CJobHost& m_host;
    tarvek::CFileSystem& m_fileSystem;
    QString m_strPathName;
    QString m_strConverting;
    QList<QPointer<CTarvekView>> m_views;
};
