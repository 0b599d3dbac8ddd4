// The main window's commands as the user sees them, and the dialogs and boxes it shows.

#include "tests/gui/GuiTestSupport.h"

#include "ui/AppIcons.h"
#include "ui/CAboutDlg.h"
#include "ui/CHelpWindow.h"
#include "ui/CMessageBoxSink.h"
#include "ui/CRecentFileList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

#include <functional>

Q_DECLARE_METATYPE(tarvek::EMessageIcon)

using namespace tarvek;
using namespace tarvek::test;

namespace {

QStringList MenuTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* pAction : menu.actions())
        texts.append(pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    return texts;
}

// Runs pInspect on the next modal dialog once it is shown, then closes it, so that a
// test never waits on a box.
void InspectNextModal(std::function<void(QWidget*)> inspect)
{
    auto* pTimer = new QTimer;
    QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, inspect] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal)
            return;
        pTimer->stop();
        pTimer->deleteLater();
        inspect(pModal);
        if (auto* pDialog = qobject_cast<QDialog*>(pModal))
            pDialog->accept();
    });
    pTimer->start(10);
}

} // namespace

// Receives what the home page command asks the desktop to open.
class CUrlCatcher : public QObject {
    Q_OBJECT

public slots:
    void Open(const QUrl& url) { m_urls.append(url); }

public:
    QList<QUrl> m_urls;
};

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseScratchSettingsEverywhere(m_scratch); }

    void theMenusHoldTheirItemsInOrder()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        const QList<QAction*> menus = frame.menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
        QCOMPARE(MenuTexts(*menus[0]->menu()), (QStringList{"&Open...", "-", "Recent File", "-", "E&xit"}));
        QVERIFY(!menus[0]->menu()->actions()[2]->isEnabled());
        QCOMPARE(menus[1]->text(), QStringLiteral("&View"));
        QCOMPARE(MenuTexts(*menus[1]->menu()), (QStringList{"&Toolbar", "&Status Bar"}));
        QCOMPARE(menus[2]->text(), QStringLiteral("&Help"));
        QCOMPARE(MenuTexts(*menus[2]->menu()),
                 (QStringList{"&Help Topics", "-", "Brenic Home Page", "&About Tarvek..."}));
    }

    void everyCommandHasItsKeyPromptAndToolTip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("tip");
        QTest::newRow("open") << "fileOpen" << QKeySequence("Ctrl+O") << "Open an existing document"
                              << "Open";
        QTest::newRow("exit") << "appExit" << QKeySequence()
                              << "Quit the application; prompts to save documents"
                              << "Exit";
        QTest::newRow("toolbar") << "viewToolBar" << QKeySequence() << "Show or hide the toolbar"
                                 << "Toggle ToolBar";
        QTest::newRow("status bar") << "viewStatusBar" << QKeySequence() << "Show or hide the status bar"
                                    << "Toggle StatusBar";
        QTest::newRow("help topics") << "helpFinder" << QKeySequence() << "List Help topics"
                                     << "Help Topics";
        QTest::newRow("help") << "help" << QKeySequence("F1") << "Display help for current task or command"
                              << "Help";
        QTest::newRow("context help") << "contextHelp" << QKeySequence("Shift+F1")
                                      << "Display help for clicked on buttons, menus and windows"
                                      << "Help";
        QTest::newRow("home page") << "homePage" << QKeySequence()
                                   << "Go to the Quorlane Home Page\tBrenic Home Page"
                                   << "Brenic Home Page";
        QTest::newRow("about") << "appAbout" << QKeySequence()
                               << "Display program information, version number and copyright"
                               << "About";
        QTest::newRow("next pane") << "nextPane" << QKeySequence("F6") << "Switch to the next window pane"
                                   << "Next Pane";
        QTest::newRow("previous pane")
            << "prevPane" << QKeySequence("Shift+F6") << "Switch back to the previous window pane"
            << "Previous Pane";
    }
    void everyCommandHasItsKeyPromptAndToolTip()
    {
        QFETCH(QString, name);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, prompt);
        QFETCH(QString, tip);
        CRecentFileList recent;
        CMainFrame frame(recent);
        const QList<QAction*> actions = frame.findChildren<QAction*>(name);
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions[0]->shortcut(), keys);
        QCOMPARE(actions[0]->statusTip(), prompt);
        // Without a tool tip of its own, an action shows its text.
        QCOMPARE(actions[0]->toolTip(), tip);
        QVERIFY(!actions[0]->whatsThis().isEmpty() || name.endsWith("Pane"));
    }

    // One action per command, shared by the menu and the button.
    void theToolbarSharesTheMenuActions()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        const QToolBar* pToolBar = frame.findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(pToolBar);
        const QList<QAction*> buttons = pToolBar->actions();
        QCOMPARE(buttons.size(), 4);
        QCOMPARE(buttons[0], frame.findChild<QAction*>(QStringLiteral("fileOpen")));
        QVERIFY(buttons[1]->isSeparator());
        QCOMPARE(buttons[2], frame.findChild<QAction*>(QStringLiteral("appAbout")));
        QCOMPARE(buttons[3], frame.findChild<QAction*>(QStringLiteral("contextHelp")));
        QVERIFY(frame.menuBar()->actions()[0]->menu()->actions().contains(buttons[0]));
        for (const QAction* pButton : {buttons[0], buttons[2], buttons[3]})
            QVERIFY(!pButton->icon().pixmap(16, 16).isNull());
        QVERIFY(!LoadAppIcon().pixmap(32, 32).isNull());
    }

    void theStatusBarShowsItsIdleTextAndIndicators()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        QStringList texts;
        for (const QLabel* pLabel : frame.statusBar()->findChildren<QLabel*>())
            texts.append(pLabel->text());
        QCOMPARE(texts, (QStringList{"For Help, press F1", "CAP", "NUM", "SCRL"}));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Untitled - Tarvek"));
    }

    void theViewMenuShowsAndHidesTheBars()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        frame.show();
        QAction* pToolBar = frame.findChild<QAction*>(QStringLiteral("viewToolBar"));
        QAction* pStatusBar = frame.findChild<QAction*>(QStringLiteral("viewStatusBar"));
        QVERIFY(pToolBar->isChecked() && pStatusBar->isChecked());
        pToolBar->trigger();
        pStatusBar->trigger();
        QVERIFY(!frame.findChild<QToolBar*>()->isVisible());
        QVERIFY(!frame.statusBar()->isVisible());
        pToolBar->trigger();
        QVERIFY(frame.findChild<QToolBar*>()->isVisible());
        QVERIFY(pToolBar->isChecked());
    }

    void helpTopicsAndF1OpenTheHelpPage()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        frame.show();
        frame.findChild<QAction*>(QStringLiteral("helpFinder"))->trigger();
        CHelpWindow* pHelp = frame.GetHelpWindow();
        QVERIFY(pHelp && pHelp->isVisible());
        QCOMPARE(pHelp->documentTitle(), QStringLiteral("Tarvek Help"));
        QVERIFY(pHelp->toPlainText().contains("Could not open source file"));
        pHelp->close();
        frame.findChild<QAction*>(QStringLiteral("help"))->trigger();
        QCOMPARE(frame.GetHelpWindow(), pHelp);
        QVERIFY(pHelp->isVisible());
    }

    void shiftF1EntersClickForHelpMode()
    {
        CRecentFileList recent;
        CMainFrame frame(recent);
        frame.show();
        frame.findChild<QAction*>(QStringLiteral("contextHelp"))->trigger();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QCOMPARE(frame.statusBar()->currentMessage(),
                 QStringLiteral("Select an object on which to get Help"));
        QWhatsThis::leaveWhatsThisMode();
        QVERIFY(frame.statusBar()->currentMessage().isEmpty());
    }

    void theHomePageCommandOpensTheProjectsOwnAddress()
    {
        CTestRun run;
        QVERIFY(run.App().InitInstance({}));
        CUrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
        run.Frame().findChild<QAction*>(QStringLiteral("homePage"))->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.m_urls, QList<QUrl>{QUrl(QStringLiteral("https://tarvek.example/"))});
    }

    void theAboutDialogShowsTheVersionAndIcon()
    {
        CTestRun run;
        QVERIFY(run.App().InitInstance({}));
        bool bSeen = false;
        InspectNextModal([&bSeen](QWidget* pDialog) {
            bSeen = true;
            QCOMPARE(pDialog->windowTitle(), QStringLiteral("About Tarvek"));
            const QLabel* pVersion = pDialog->findChild<QLabel*>(QStringLiteral("version"));
            QVERIFY(pVersion);
            QCOMPARE(pVersion->text(), QStringLiteral("Tarvek Version 1.0.0.2"));
            bool bIcon = false;
            for (const QLabel* pLabel : pDialog->findChildren<QLabel*>())
                bIcon = bIcon || !pLabel->pixmap().isNull();
            QVERIFY(bIcon);
            const QList<QPushButton*> buttons = pDialog->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 1);
            QCOMPARE(buttons[0]->text(), QStringLiteral("OK"));
            QVERIFY(buttons[0]->isDefault());
        });
        run.Frame().findChild<QAction*>(QStringLiteral("appAbout"))->trigger();
        QVERIFY(bSeen);
    }

    void theFileDialogOffersWdqFilesFirstAndSeveralAtATime()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        CFileDialogChooser::SetUpDialog(dialog);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{"WDQ Files (*.wdq) (*.wdq *.WDQ)", "All Files (*.*) (*)"}));
        const QComboBox* pTypes = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(pTypes);
        QCOMPARE(pTypes->count(), 2);
        QCOMPARE(pTypes->itemText(0), QStringLiteral("WDQ Files (*.wdq)"));
        QCOMPARE(pTypes->itemText(1), QStringLiteral("All Files (*.*)"));
        QCOMPARE(pTypes->currentIndex(), 0);
    }

    void everyMessageIsAModalBoxTitledTarvek_data()
    {
        QTest::addColumn<EMessageIcon>("kind");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("warning") << EMessageIcon::Warning << QMessageBox::Warning;
        QTest::newRow("error") << EMessageIcon::Error << QMessageBox::Critical;
        QTest::newRow("information") << EMessageIcon::Information << QMessageBox::Information;
    }
    void everyMessageIsAModalBoxTitledTarvek()
    {
        QFETCH(EMessageIcon, kind);
        QFETCH(QMessageBox::Icon, icon);
        CTestRun run;
        QVERIFY(run.App().InitInstance({}));
        CMessageBoxSink sink;
        sink.SetMainFrame(&run.Frame());
        bool bSeen = false;
        InspectNextModal([&](QWidget* pModal) {
            bSeen = true;
            auto* pBox = qobject_cast<QMessageBox*>(pModal);
            QVERIFY(pBox);
            QCOMPARE(pBox->windowTitle(), QStringLiteral("Tarvek"));
            QCOMPARE(pBox->text(), QStringLiteral("Error in Sampling Rate"));
            QCOMPARE(pBox->icon(), icon);
            QCOMPARE(pBox->standardButtons(), QMessageBox::Ok);
            QCOMPARE(pBox->parentWidget(), &run.Frame());
        });
        sink.ShowMessage("Error in Sampling Rate", kind);
        QVERIFY(bSeen);
    }

private:
    CScratchDir m_scratch;
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
