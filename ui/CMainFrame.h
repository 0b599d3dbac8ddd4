#pragma once

#include <QMainWindow>
#include <QPointer>

class CHelpWindow;
class CRecentFileList;
class CTarvekView;
class QLabel;
class QMenu;

// The main window: menu, keys, toolbar and status bar around the results view. Each
// command is one action, shared by its menu item, key and toolbar button; the commands
// of the application are passed on as signals.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(const CRecentFileList& recentFiles, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    void SetView(CTarvekView* pView);
    CTarvekView* GetActiveView() const;

    // "<document> - Tarvek".
    void OnUpdateFrameTitle(const QString& strDocTitle);
    // A note in the status bar that stays until the next one.
    void ShowNote(const QString& strText);

    // The help page, once a help command has opened it.
    CHelpWindow* GetHelpWindow() const;

signals:
    void FileOpenRequested();
    void RecentFileRequested(int nIndex);
    void FilesDropped(const QStringList& paths);
    void HomePageRequested();
    void AboutRequested();

protected:
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void EnableDocking();
    void UpdateKeyIndicators();
    void RebuildRecentFileMenu();

    void OnHelpFinder();
    void OnContextHelp();
    void OnNextPane();

    const CRecentFileList& m_recentFiles;

    QAction* m_pFileOpen = nullptr;
    QAction* m_pAppExit = nullptr;
    QAction* m_pViewToolBar = nullptr;
    QAction* m_pViewStatusBar = nullptr;
    QAction* m_pHelpFinder = nullptr;
    QAction* m_pHelp = nullptr;
    QAction* m_pContextHelp = nullptr;
    QAction* m_pHomePage = nullptr;
    QAction* m_pAppAbout = nullptr;
    QAction* m_pNextPane = nullptr;
    QAction* m_pPrevPane = nullptr;

    QMenu* m_pFileMenu = nullptr;
    // The recent-file entries go between these two.
    QAction* m_pRecentBegin = nullptr;
    QAction* m_pRecentEnd = nullptr;
    QList<QAction*> m_recentActions;

    QToolBar* m_toolBar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_pIdleText = nullptr;
    QLabel* m_pCapsLock = nullptr;
    QLabel* m_pNumLock = nullptr;
    QLabel* m_pScrollLock = nullptr;

    QPointer<CHelpWindow> m_pHelpWindow;
};
