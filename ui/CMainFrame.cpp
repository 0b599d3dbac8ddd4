#include "ui/CMainFrame.h"

#include "ui/AppIcons.h"
#include "ui/CHelpWindow.h"
#include "ui/CRecentFileList.h"
#include "ui/CTarvekView.h"
#include "ui/KeyLockState.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWhatsThis>

namespace {

const QString kIdleText = QStringLiteral("For Help, press F1");
const QString kContextHelpPrompt = QStringLiteral("Select an object on which to get Help");
const QString kRecentFilePrompt = QStringLiteral("Open this document");

// A command with its status-bar prompt and, after "\n", its tool tip.
QAction* MakeCommand(QObject* pParent, const QString& strName, const QString& strText,
                     const QString& strPromptAndTip, const QString& strWhatsThis)
{
    auto* pAction = new QAction(strText, pParent);
    pAction->setObjectName(strName);
    const qsizetype nNewLine = strPromptAndTip.indexOf(u'\n');
    pAction->setStatusTip(strPromptAndTip.left(nNewLine));
    if (nNewLine >= 0)
        pAction->setToolTip(strPromptAndTip.mid(nNewLine + 1));
    pAction->setWhatsThis(strWhatsThis);
    return pAction;
}

QStringList LocalFiles(const QMimeData* pData)
{
    QStringList paths;
    for (const QUrl& url : pData->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

CMainFrame::CMainFrame(const CRecentFileList& recentFiles, QWidget* pParent)
    : QMainWindow(pParent), m_recentFiles(recentFiles)
{
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    EnableDocking();

    setAcceptDrops(true);
    setWindowIcon(LoadAppIcon());
    OnUpdateFrameTitle(tr("Untitled"));
    // A new window's usual size; the view shrinks it to fit its form.
    if (const QScreen* pScreen = QGuiApplication::primaryScreen())
        resize(pScreen->availableSize() * 3 / 4);
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    delete m_pHelpWindow;
}

void CMainFrame::CreateActions()
{
    m_pFileOpen = MakeCommand(this, QStringLiteral("fileOpen"), tr("&Open..."),
                              QStringLiteral("Open an existing document\nOpen"),
                              tr("Open: choose one or more WDQ recordings and convert each to a C3D file "
                                 "beside it."));
    m_pFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_pFileOpen->setIcon(LoadToolIcon(QStringLiteral("open")));
    connect(m_pFileOpen, &QAction::triggered, this, &CMainFrame::FileOpenRequested);

    m_pAppExit = MakeCommand(this, QStringLiteral("appExit"), tr("E&xit"),
                             QStringLiteral("Quit the application; prompts to save documents\nExit"),
                             tr("Exit: close Tarvek."));
    connect(m_pAppExit, &QAction::triggered, this, &QWidget::close);

    m_pViewToolBar = MakeCommand(this, QStringLiteral("viewToolBar"), tr("&Toolbar"),
                                 QStringLiteral("Show or hide the toolbar\nToggle ToolBar"),
                                 tr("Toolbar: show or hide the row of buttons."));
    m_pViewStatusBar = MakeCommand(this, QStringLiteral("viewStatusBar"), tr("&Status Bar"),
                                   QStringLiteral("Show or hide the status bar\nToggle StatusBar"),
                                   tr("Status Bar: show or hide the line at the bottom of the window."));
    for (QAction* pAction : {m_pViewToolBar, m_pViewStatusBar}) {
        pAction->setCheckable(true);
        pAction->setChecked(true);
    }

    m_pHelpFinder = MakeCommand(this, QStringLiteral("helpFinder"), tr("&Help Topics"),
                                QStringLiteral("List Help topics\nHelp Topics"),
                                tr("Help Topics: open Tarvek's help page."));
    connect(m_pHelpFinder, &QAction::triggered, this, &CMainFrame::OnHelpFinder);

    m_pHelp = MakeCommand(this, QStringLiteral("help"), tr("Help"),
                          QStringLiteral("Display help for current task or command\nHelp"),
                          tr("Opens Tarvek's help page."));
    m_pHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_pHelp, &QAction::triggered, this, &CMainFrame::OnHelpFinder);

    m_pContextHelp =
        MakeCommand(this, QStringLiteral("contextHelp"), tr("Help"),
                    QStringLiteral("Display help for clicked on buttons, menus and windows\nHelp"),
                    tr("Help: click it, then click a button, a menu item or the results "
                       "list to learn what it does."));
    m_pContextHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    m_pContextHelp->setIcon(LoadToolIcon(QStringLiteral("context-help")));
    connect(m_pContextHelp, &QAction::triggered, this, &CMainFrame::OnContextHelp);

    m_pHomePage = MakeCommand(this, QStringLiteral("homePage"), tr("Brenic Home Page"),
                              QStringLiteral("Go to the Quorlane Home Page\tBrenic Home Page"),
                              tr("Brenic Home Page: open the maker's web site in your browser."));
    connect(m_pHomePage, &QAction::triggered, this, &CMainFrame::HomePageRequested);

    m_pAppAbout =
        MakeCommand(this, QStringLiteral("appAbout"), tr("&About Tarvek..."),
                    QStringLiteral("Display program information, version number and copyright\nAbout"),
                    tr("About: show Tarvek's version."));
    m_pAppAbout->setIcon(LoadToolIcon(QStringLiteral("about")));
    connect(m_pAppAbout, &QAction::triggered, this, &CMainFrame::AboutRequested);

    // The results view is the only pane: both keys go to it.
    m_pNextPane = MakeCommand(this, QStringLiteral("nextPane"), tr("Next Pane"),
                              QStringLiteral("Switch to the next window pane\nNext Pane"), QString());
    m_pNextPane->setShortcut(QKeySequence(Qt::Key_F6));
    m_pPrevPane =
        MakeCommand(this, QStringLiteral("prevPane"), tr("Previous Pane"),
                    QStringLiteral("Switch back to the previous window pane\nPrevious Pane"), QString());
    m_pPrevPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (QAction* pAction : {m_pNextPane, m_pPrevPane})
        connect(pAction, &QAction::triggered, this, &CMainFrame::OnNextPane);

    // Keys without a menu item.
    addActions({m_pHelp, m_pContextHelp, m_pNextPane, m_pPrevPane});
}

void CMainFrame::CreateMenus()
{
    m_pFileMenu = menuBar()->addMenu(tr("&File"));
    m_pFileMenu->addAction(m_pFileOpen);
    m_pRecentBegin = m_pFileMenu->addSeparator();
    m_pRecentEnd = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(m_pAppExit);
    RebuildRecentFileMenu();
    connect(&m_recentFiles, &CRecentFileList::Changed, this, &CMainFrame::RebuildRecentFileMenu);

    QMenu* pViewMenu = menuBar()->addMenu(tr("&View"));
    pViewMenu->addAction(m_pViewToolBar);
    pViewMenu->addAction(m_pViewStatusBar);

    QMenu* pHelpMenu = menuBar()->addMenu(tr("&Help"));
    pHelpMenu->addAction(m_pHelpFinder);
    pHelpMenu->addSeparator();
    pHelpMenu->addAction(m_pHomePage);
    pHelpMenu->addAction(m_pAppAbout);
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addAction(m_pFileOpen);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_pAppAbout);
    m_toolBar->addAction(m_pContextHelp);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    connect(m_pViewToolBar, &QAction::toggled, m_toolBar, &QWidget::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, m_pViewToolBar, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar()
{
    m_statusBar = statusBar();
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    m_pIdleText = new QLabel(kIdleText);
    m_statusBar->addWidget(m_pIdleText, 1);
    m_pCapsLock = new QLabel(QStringLiteral("CAP"));
    m_pNumLock = new QLabel(QStringLiteral("NUM"));
    m_pScrollLock = new QLabel(QStringLiteral("SCRL"));
    for (QLabel* pIndicator : {m_pCapsLock, m_pNumLock, m_pScrollLock}) {
        pIndicator->setAlignment(Qt::AlignCenter);
        pIndicator->setMinimumWidth(pIndicator->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        m_statusBar->addPermanentWidget(pIndicator);
    }
    UpdateKeyIndicators();

    connect(m_pViewStatusBar, &QAction::toggled, m_statusBar, &QWidget::setVisible);
}

void CMainFrame::EnableDocking()
{
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setMovable(true);
}

void CMainFrame::SetView(CTarvekView* pView)
{
    setCentralWidget(pView);
}

CTarvekView* CMainFrame::GetActiveView() const
{
    return qobject_cast<CTarvekView*>(centralWidget());
}

void CMainFrame::OnUpdateFrameTitle(const QString& strDocTitle)
{
    setWindowTitle(strDocTitle + QStringLiteral(" - Tarvek"));
}

void CMainFrame::ShowNote(const QString& strText)
{
    m_statusBar->showMessage(strText);
}

void CMainFrame::UpdateKeyIndicators()
{
    m_pCapsLock->setEnabled(GetKeyLockState(EKeyLock::Caps).value_or(false));
    m_pNumLock->setEnabled(GetKeyLockState(EKeyLock::Num).value_or(false));
    m_pScrollLock->setEnabled(GetKeyLockState(EKeyLock::Scroll).value_or(false));
}

void CMainFrame::RebuildRecentFileMenu()
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    const QStringList& paths = m_recentFiles.Paths();
    if (paths.isEmpty()) {
        QAction* pPlaceholder =
            MakeCommand(this, QStringLiteral("recentFile"), tr("Recent File"), kRecentFilePrompt, QString());
        pPlaceholder->setEnabled(false);
        m_recentActions.append(pPlaceholder);
    }
    for (int i = 0; i < paths.size(); ++i) {
        QString strPath = paths[i];
        QAction* pEntry =
            MakeCommand(this, QStringLiteral("recentFile%1").arg(i + 1),
                        QStringLiteral("&%1 %2").arg(i + 1).arg(strPath.replace(u'&', QStringLiteral("&&"))),
                        kRecentFilePrompt, tr("Converts this file again."));
        connect(pEntry, &QAction::triggered, this, [this, i] { emit RecentFileRequested(i); });
        m_recentActions.append(pEntry);
    }
    m_pFileMenu->insertActions(m_pRecentEnd, m_recentActions);
}

CHelpWindow* CMainFrame::GetHelpWindow() const
{
    return m_pHelpWindow;
}

void CMainFrame::OnHelpFinder()
{
    if (!m_pHelpWindow)
        m_pHelpWindow = new CHelpWindow;
    m_pHelpWindow->show();
    m_pHelpWindow->raise();
    m_pHelpWindow->activateWindow();
}

void CMainFrame::OnContextHelp()
{
    QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::OnNextPane()
{
    if (CTarvekView* pView = GetActiveView())
        pView->ResultList()->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!LocalFiles(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    const QStringList paths = LocalFiles(pEvent->mimeData());
    if (paths.isEmpty())
        return;
    pEvent->acceptProposedAction();
    activateWindow();
    // Converted once the drop is over, so that the program the files came from is not
    // kept waiting through the conversions and their message boxes.
    QTimer::singleShot(0, this, [this, paths] { emit FilesDropped(paths); });
}

bool CMainFrame::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationActivate:
        UpdateKeyIndicators();
        break;
    case QEvent::EnterWhatsThisMode:
        if (pWatched == this)
            m_statusBar->showMessage(kContextHelpPrompt);
        break;
    case QEvent::LeaveWhatsThisMode:
        if (pWatched == this)
            m_statusBar->clearMessage();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}
