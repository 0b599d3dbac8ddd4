#include "ui/CTarvekApp.h"

#include "engine/CConversionJob.h"
#include "ui/CAboutDlg.h"
#include "ui/CMainFrame.h"
#include "ui/CTarvekView.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QUrl>

const char* const CTarvekApp::kHomePage = "https://tarvek.example/";

std::unique_ptr<QSettings> CTarvekApp::CreateDefaultSettings()
{
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Brenic"),
                                       QStringLiteral("Tarvek"));
}

CTarvekApp::CTarvekApp(std::unique_ptr<QSettings> pSettings, tarvek::CFileSystem& fileSystem,
                       QObject* pParent)
    : QObject(pParent), m_pSettings(std::move(pSettings)), m_doc(*this, fileSystem),
      m_openService(m_doc, m_recentFiles), m_pMessageSink(&m_messageBoxes), m_pFileChooser(&m_fileDialog)
{
}

CTarvekApp::~CTarvekApp() = default;

void CTarvekApp::SetMessageSink(tarvek::CMessageSink* pSink)
{
    m_pMessageSink = pSink ? pSink : &m_messageBoxes;
}

void CTarvekApp::SetFileChooser(CFileChooser* pChooser)
{
    m_pFileChooser = pChooser ? pChooser : &m_fileDialog;
}

bool CTarvekApp::InitInstance(const QStringList& files)
{
    m_recentFiles.ReadList(*m_pSettings);
    qApp->installEventFilter(this);

    if (!files.isEmpty()) {
        bool bAllConverted = true;
        for (const QString& strFile : files) {
            OpenDocumentFile(strFile);
            bAllConverted =
                bAllConverted && m_records.m_records.back().m_strResult == tarvek::kResultConverted;
        }
        m_nExitCode = bAllConverted ? 0 : 1;
        return false;
    }

    m_doc.OnNewDocument();
    CreateMainFrame();
    m_pMainFrame->show();
    // From now on every file, however it arrives, is shown in the list and stays on the
    // recent-file list: a conversion outside batch mode would end the program.
    m_records.m_bBatchMode = true;
    return true;
}

void CTarvekApp::CreateMainFrame()
{
    m_pMainFrame = std::make_unique<CMainFrame>(m_recentFiles);
    auto* pView = new CTarvekView(m_records);
    m_pMainFrame->SetView(pView);
    m_doc.AddView(pView);
    m_messageBoxes.SetMainFrame(m_pMainFrame.get());

    connect(&m_doc, &CTarvekDoc::TitleChanged, m_pMainFrame.get(), &CMainFrame::OnUpdateFrameTitle);
    m_pMainFrame->OnUpdateFrameTitle(m_doc.GetTitle());
    connect(m_pMainFrame.get(), &CMainFrame::FileOpenRequested, this, &CTarvekApp::OnFileOpen);
    connect(m_pMainFrame.get(), &CMainFrame::RecentFileRequested, this, &CTarvekApp::OnOpenRecentFile);
    connect(m_pMainFrame.get(), &CMainFrame::FilesDropped, this, &CTarvekApp::OnDropFiles);
    connect(m_pMainFrame.get(), &CMainFrame::HomePageRequested, this, &CTarvekApp::OnHomePage);
    connect(m_pMainFrame.get(), &CMainFrame::AboutRequested, this, &CTarvekApp::OnAppAbout);

    pView->OnInitialUpdate();
}

int CTarvekApp::ExitInstance()
{
    m_recentFiles.WriteList(*m_pSettings);
    m_pSettings->sync();
    return m_nExitCode;
}

void CTarvekApp::OnFileOpen()
{
    const std::optional<QStringList> files = m_pFileChooser->ChooseFiles(m_pMainFrame.get());
    if (!files)
        return;
    m_records.m_bBatchMode = true;
    for (const QString& strFile : *files)
        OpenDocumentFile(strFile);
}

void CTarvekApp::OnOpenRecentFile(int nIndex)
{
    m_openService.OpenRecentFile(nIndex);
}

void CTarvekApp::OnDropFiles(const QStringList& paths)
{
    for (const QString& strPath : paths)
        OpenDocumentFile(strPath);
}

void CTarvekApp::OnAppAbout()
{
    CAboutDlg dialog(m_pMainFrame.get());
    dialog.exec();
}

void CTarvekApp::OnHomePage()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage)));
}

bool CTarvekApp::OpenDocumentFile(const QString& strPath)
{
    if (m_openService.OpenDocumentFile(strPath))
        return true;
    // The job refreshes the views only after a conversion; the list must show the
    // failures too, also those that end a selection.
    if (m_pMainFrame)
        m_doc.UpdateAllViews();
    return false;
}

void CTarvekApp::ShowMessage(const std::string& strText, tarvek::EMessageIcon eIcon)
{
    m_pMessageSink->ShowMessage(strText, eIcon);
}

void CTarvekApp::ShowWarning(const std::string& strText)
{
    const QString strName = QFileInfo(m_doc.GetConvertingPath()).fileName();
    m_pMessageSink->ShowWarning(strName.isEmpty() ? strText : strName.toStdString() + ": " + strText);
}

void CTarvekApp::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CTarvekApp::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void CTarvekApp::UpdateAllViews()
{
    m_doc.UpdateAllViews();
}

void CTarvekApp::AddRecord(const std::string& strSource, const std::string& strTarget,
                           const std::string& strResult)
{
    m_records.AddRecord(strSource, strTarget, strResult);
}

bool CTarvekApp::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == qApp && pEvent->type() == QEvent::FileOpen) {
        OpenDocumentFile(static_cast<QFileOpenEvent*>(pEvent)->file());
        return true;
    }
    return QObject::eventFilter(pWatched, pEvent);
}
