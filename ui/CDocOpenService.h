#pragma once

#include <QString>

class CRecentFileList;
class CTarvekDoc;

// Brings every file that the user asks for to the document's open step, however it
// came, and keeps the document's path name and the recent-file list in step with it.
// A file is converted each time it is asked for, also when it was the last one.
class CDocOpenService {
public:
    CDocOpenService(CTarvekDoc& doc, CRecentFileList& recentFiles);

    // True when the document took the file: it becomes the document's path name and the
    // top of the recent-file list. False leaves both as they were.
    bool OpenDocumentFile(const QString& strPath);

    // Opens entry nIndex of the recent-file list; an entry that fails leaves the list.
    bool OpenRecentFile(int nIndex);

    // An absolute, clean path with the platform's separators.
    static QString MakeFullPath(const QString& strPath);

private:
    CTarvekDoc& m_doc;
    CRecentFileList& m_recentFiles;
};
