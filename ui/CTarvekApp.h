#pragma once

#include "engine/CFileSystem.h"
#include "engine/CJobHost.h"
#include "engine/ConversionRecord.h"
#include "ui/CDocOpenService.h"
#include "ui/CFileChooser.h"
#include "ui/CMessageBoxSink.h"
#include "ui/CRecentFileList.h"
#include "ui/CTarvekDoc.h"

#include <QObject>
#include <QSettings>

#include <memory>

class CMainFrame;

// The application: start-up, the records of this run and the batch flag, and the
// commands that bring files to the conversion job. It is the job's host.
class CTarvekApp : public QObject, public tarvek::CJobHost {
    Q_OBJECT

public:
    static const char* const kHomePage;

    // The user's settings of organisation "Brenic", application "Tarvek".
    static std::unique_ptr<QSettings> CreateDefaultSettings();

    explicit CTarvekApp(std::unique_ptr<QSettings> pSettings = CreateDefaultSettings(),
                        tarvek::CFileSystem& fileSystem = tarvek::GetDiskFileSystem(),
                        QObject* pParent = nullptr);
    ~CTarvekApp() override;

    // Null restores the modal message boxes and the file dialog.
    void SetMessageSink(tarvek::CMessageSink* pSink);
    void SetFileChooser(CFileChooser* pChooser);

    // With files, converts each outside batch mode and returns false: the program ends
    // without a window. Without, shows the main window and returns true.
    bool InitInstance(const QStringList& files);
    // Saves the settings; returns the program's exit status: 1 when a file named at
    // start-up was not converted, else 0.
    int ExitInstance() override;

    void OnFileOpen();
    void OnOpenRecentFile(int nIndex);
    void OnDropFiles(const QStringList& paths);
    void OnAppAbout();
    void OnHomePage();
    // Any file, however it came; once the window exists, the results list shows it.
    bool OpenDocumentFile(const QString& strPath);

    CMainFrame* GetMainWnd() const { return m_pMainFrame.get(); }
    CTarvekDoc& GetDocument() { return m_doc; }
    CRecentFileList& GetRecentFiles() { return m_recentFiles; }
    const tarvek::CRecordList& GetRecords() const { return m_records; }
    QSettings& GetSettings() { return *m_pSettings; }

    void ShowMessage(const std::string& strText, tarvek::EMessageIcon eIcon) override;
    // Names the file being converted before the text.
    void ShowWarning(const std::string& strText) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void UpdateAllViews() override;
    bool IsBatchMode() const override { return m_records.m_bBatchMode; }
    void AddRecord(const std::string& strSource, const std::string& strTarget,
                   const std::string& strResult) override;

protected:
    // The desktop's requests to open a file.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateMainFrame();

    std::unique_ptr<QSettings> m_pSettings;
    // The records of this run and, beside them, the batch flag.
    tarvek::CRecordList m_records;
    CRecentFileList m_recentFiles;
    CTarvekDoc m_doc;
    CDocOpenService m_openService;
    CMessageBoxSink m_messageBoxes;
    CFileDialogChooser m_fileDialog;
    tarvek::CMessageSink* m_pMessageSink;
    CFileChooser* m_pFileChooser;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    int m_nExitCode = 0;
};
