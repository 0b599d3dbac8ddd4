// The application as the user drives it: File Open, drops, the recent-file list, the
// command line, and how each file reaches the conversion job.

#include "tests/gui/GuiTestSupport.h"

#include "engine/CConversionJob.h"
#include "ui/CDocOpenService.h"
#include "ui/CRecentFileList.h"

#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include <filesystem>

using namespace tarvek;
using namespace tarvek::test;

namespace {

// The disk, but every read of one source fails as a failing disk would; it also notes
// whether the wait cursor was up while a source was opened.
class CFailingReadFileSystem : public CFileSystem {
public:
    explicit CFailingReadFileSystem(std::string strFailing) : m_strFailing(std::move(strFailing)) {}

    bool Exists(const std::string& strPath) override { return Disk().Exists(strPath); }
    std::unique_ptr<CFile> OpenRead(const std::string& strPath) override
    {
        m_bWaitCursorAtOpen =
            QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        std::unique_ptr<CFile> pFile = Disk().OpenRead(strPath);
        if (pFile && strPath == m_strFailing)
            return std::make_unique<CFailingFile>();
        return pFile;
    }
    bool IsSameFile(const std::string& strFirst, const std::string& strSecond) override
    {
        return Disk().IsSameFile(strFirst, strSecond);
    }
    std::unique_ptr<CFile> CreateTemp(const std::string& strTarget, std::string& strTempPath) override
    {
        return Disk().CreateTemp(strTarget, strTempPath);
    }
    void Replace(const std::string& strTempPath, const std::string& strTarget) override
    {
        Disk().Replace(strTempPath, strTarget);
    }
    void Remove(const std::string& strPath) noexcept override { Disk().Remove(strPath); }

    bool m_bWaitCursorAtOpen = false;

private:
    class CFailingFile : public CFile {
    public:
        void Seek(std::uint64_t) override { Fail(); }
        std::size_t Read(void*, std::size_t) override { Fail(); }
        void Write(const void*, std::size_t) override { Fail(); }
        std::uint64_t GetPosition() const override { return 0; }
        std::uint64_t GetLength() override { Fail(); }
        void Close() override {}

    private:
        [[noreturn]] static void Fail()
        {
            throw CFileException(CFileException::EKind::Read, "Input/output error");
        }
    };

    static CFileSystem& Disk() { return GetDiskFileSystem(); }

    std::string m_strFailing;
};

void Drop(QWidget& target, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& strPath : paths)
        urls.append(QUrl::fromLocalFile(strPath));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
    QVERIFY(drop.isAccepted());
}

QStringList MenuTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* pAction : menu.actions())
        texts.append(pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    return texts;
}

} // namespace

class TarvekAppTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseScratchSettingsEverywhere(m_scratch); }

    void fileOpenConvertsTheSelectionInOrder()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq"), strB = run.Write("b.wdq");
        const QString strMissing = run.Path("missing.wdq");
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strB, strMissing, strA});

        run.App().OnFileOpen();

        const QStringList expected{CTestRun::Converted(strB), CTestRun::Row(strMissing, "", kResultNotFound),
                                   CTestRun::Converted(strA)};
        QCOMPARE(run.Records(), expected);
        QCOMPARE(run.Rows(), expected);
        QCOMPARE(run.m_sink.Texts(), QStringList{"The selected file could not be found"});
        QVERIFY(std::filesystem::exists(run.m_dir.Path("a.c3d")));
        QVERIFY(std::filesystem::exists(run.m_dir.Path("b.c3d")));
        QCOMPARE(run.App().GetRecentFiles().Paths(), (QStringList{strA, strB}));
        QCOMPARE(run.Frame().windowTitle(), QStringLiteral("a.wdq - Tarvek"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Failures are listed at once, also at the end of a selection.
    void aSelectionWhoseFilesFailIsListed()
    {
        CTestRun run;
        run.Write("damaged.wdq", {1, 2, 3});
        const QString strDamaged = run.Path("damaged.wdq"), strMissing = run.Path("missing.wdq");
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strDamaged, strMissing});

        run.App().OnFileOpen();

        QCOMPARE(run.Rows(),
                 (QStringList{CTestRun::Row(strDamaged, run.Path("damaged.c3d"), kResultCouldNotOpen),
                              CTestRun::Row(strMissing, "", kResultNotFound)}));
        QCOMPARE(run.m_sink.Texts().last(), QStringLiteral("The selected file could not be found"));
        QCOMPARE(run.App().GetRecentFiles().Paths(), QStringList{});
        QCOMPARE(run.Frame().windowTitle(), QStringLiteral("Untitled - Tarvek"));
    }

    // Re-recording a trial and converting it anew is normal work: nothing is skipped.
    void aFileChosenAgainIsConvertedAgainAndTheListRebuilt()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq"), strB = run.Write("b.wdq");
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strA, strB});
        run.m_chooser.m_answers.push_back(QStringList{strB});
        run.App().OnFileOpen();
        std::filesystem::remove(run.m_dir.Path("b.c3d"));

        run.App().OnFileOpen();

        const QStringList expected{CTestRun::Converted(strA), CTestRun::Converted(strB),
                                   CTestRun::Converted(strB)};
        QCOMPARE(run.Rows(), expected);
        QVERIFY(std::filesystem::exists(run.m_dir.Path("b.c3d")));
    }

    void aCancelledDialogChangesNothing()
    {
        CTestRun run;
        run.App().GetRecentFiles().Add(run.Path("old.wdq"));
        run.App().OnFileOpen();
        QCOMPARE(run.m_chooser.m_nCalls, 1);
        QVERIFY(!run.App().GetRecords().m_bBatchMode);

        QVERIFY(run.App().InitInstance({}));
        run.App().GetRecentFiles().Add(run.Path("old.wdq"));
        run.App().OnFileOpen();
        QCOMPARE(run.m_chooser.m_nCalls, 2);
        QVERIFY(run.App().GetRecords().m_records.empty());
        QCOMPARE(run.List().topLevelItemCount(), 0);
        QCOMPARE(run.App().GetRecentFiles().Paths(), QStringList{run.Path("old.wdq")});
        QCOMPARE(run.Frame().windowTitle(), QStringLiteral("Untitled - Tarvek"));
        QVERIFY(run.m_sink.m_messages.empty());
    }

    // A drop before any File Open is shown and kept on the recent-file list all the same.
    void aDropOfTwoFilesConvertsBothInOrder()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq"), strB = run.Write("b.wdq");
        QVERIFY(run.App().InitInstance({}));

        Drop(run.Frame(), {strB, strA});

        QTRY_COMPARE(run.Rows().size(), 2);
        QCOMPARE(run.Rows(), (QStringList{CTestRun::Converted(strB), CTestRun::Converted(strA)}));
        QCOMPARE(run.App().GetRecentFiles().Paths(), (QStringList{strA, strB}));
        QCOMPARE(run.Frame().windowTitle(), QStringLiteral("a.wdq - Tarvek"));
    }

    // The engine records and reports a failing disk; the next file is still converted.
    void aFileLayerErrorDoesNotEndASelectionOrADrop()
    {
        CScratchDir dir;
        const QString strBad = QString::fromStdString(dir.Write("bad.wdq", Recording()));
        const QString strGood = QString::fromStdString(dir.Write("good.wdq", Recording()));
        CFailingReadFileSystem fileSystem(strBad.toStdString());
        CTestRun run(fileSystem);
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strBad, strGood});

        run.App().OnFileOpen();
        Drop(run.Frame(), {strBad, strGood});

        const QString strBadRow = CTestRun::Row(strBad, strBad.chopped(4) + ".c3d", kResultCouldNotOpen);
        QTRY_COMPARE(run.Rows().size(), 4);
        QCOMPARE(run.Rows(), (QStringList{strBadRow, CTestRun::Converted(strGood), strBadRow,
                                          CTestRun::Converted(strGood)}));
        QCOMPARE(run.m_sink.Texts().mid(0, 2),
                 (QStringList{"Could not read file " + strBad + ": Input/output error",
                              "Could not open file " + strBad}));
        QVERIFY(fileSystem.m_bWaitCursorAtOpen);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void aRecentFileIsConvertedAgainAndAFailedOneLeavesTheList()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq"), strB = run.Write("b.wdq");
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strA, strB});
        run.App().OnFileOpen();

        // The second entry, a.wdq, from the File menu.
        QAction* pEntry = run.Frame().findChild<QAction*>(QStringLiteral("recentFile2"));
        QVERIFY(pEntry);
        QCOMPARE(pEntry->text(), "&2 " + strA);
        QCOMPARE(pEntry->statusTip(), QStringLiteral("Open this document"));
        pEntry->trigger();
        QCOMPARE(run.Rows().size(), 3);
        QCOMPARE(run.Rows().last(), CTestRun::Converted(strA));
        QCOMPARE(run.App().GetRecentFiles().Paths(), (QStringList{strA, strB}));

        std::filesystem::remove(run.m_dir.Path("b.wdq"));
        run.App().OnOpenRecentFile(1);
        QCOMPARE(run.Records().last(), CTestRun::Row(strB, "", kResultNotFound));
        QCOMPARE(run.App().GetRecentFiles().Paths(), QStringList{strA});
        QCOMPARE(run.m_sink.Texts(), QStringList{"The selected file could not be found"});
    }

    void theRecentFileListIsKeptInTheSettings()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq"), strB = run.Write("b.wdq");
        QVERIFY(run.App().InitInstance({}));
        run.m_chooser.m_answers.push_back(QStringList{strA, strB});
        run.App().OnFileOpen();
        QCOMPARE(run.App().ExitInstance(), 0);
        {
            QSettings settings(run.m_strSettings, QSettings::IniFormat);
            QCOMPARE(settings.value("Recent File List/File1").toString(), strB);
            QCOMPARE(settings.value("Recent File List/File2").toString(), strA);
            QVERIFY(!settings.contains("Recent File List/File3"));
        }

        run.Restart();
        QVERIFY(run.App().InitInstance({}));
        QCOMPARE(run.App().GetRecentFiles().Paths(), (QStringList{strB, strA}));
        QMenu* pFileMenu = run.Frame().menuBar()->actions().constFirst()->menu();
        QCOMPARE(MenuTexts(*pFileMenu),
                 (QStringList{"&Open...", "-", "&1 " + strB, "&2 " + strA, "-", "E&xit"}));
    }

    void theRecentFileListHoldsEightEntriesNewestFirst()
    {
        CScratchDir dir;
        QSettings settings(QString::fromStdString(dir.Path("settings.ini")), QSettings::IniFormat);
        CRecentFileList list;
        for (int i = 1; i <= 10; ++i)
            list.Add(QStringLiteral("/data/%1.wdq").arg(i));
        list.Add(QStringLiteral("/data/5.wdq"));
        const QStringList expected{"/data/5.wdq", "/data/10.wdq", "/data/9.wdq", "/data/8.wdq",
                                   "/data/7.wdq", "/data/6.wdq",  "/data/4.wdq", "/data/3.wdq"};
        QCOMPARE(list.Paths(), expected);
        list.WriteList(settings);
        QCOMPARE(settings.value("Recent File List/File8").toString(), QStringLiteral("/data/3.wdq"));
        QVERIFY(!settings.contains("Recent File List/File9"));

        // Entries that left the list leave the settings too.
        list.Remove(0);
        list.Remove(0);
        list.WriteList(settings);
        CRecentFileList read;
        read.ReadList(settings);
        QCOMPARE(read.Paths(), expected.mid(2));
        QVERIFY(!settings.contains("Recent File List/File7"));
    }

    // Before the window exists: outside batch mode, so the program ends after it.
    void aFileOnTheCommandLineIsConvertedWithoutAWindow()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq");
        QVERIFY(!run.App().InitInstance({strA}));
        QVERIFY(!run.App().GetMainWnd());
        QVERIFY(!run.App().GetRecords().m_bBatchMode);
        QCOMPARE(run.Records(), QStringList{CTestRun::Converted(strA)});
        QVERIFY(std::filesystem::exists(run.m_dir.Path("a.c3d")));
        QVERIFY(run.m_sink.m_messages.empty());
        QCOMPARE(run.App().ExitInstance(), 0);
    }

    void aFailingCommandLineFileShowsItsMessagesAndEndsWithStatusOne()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq");
        const QString strMissing = run.Path("missing.wdq");
        QVERIFY(!run.App().InitInstance({strMissing, strA}));
        QVERIFY(!run.App().GetMainWnd());
        QCOMPARE(run.Records(),
                 (QStringList{CTestRun::Row(strMissing, "", kResultNotFound), CTestRun::Converted(strA)}));
        QCOMPARE(run.m_sink.Texts(), QStringList{"The selected file could not be found"});
        QCOMPARE(run.App().ExitInstance(), 1);
    }

    void theOpenServiceGivesTheJobAFullPath()
    {
        CTestRun run;
        run.Write("a.wdq");
        const QString strOld = QDir::currentPath();
        QDir::setCurrent(run.Path(""));
        QVERIFY(run.App().InitInstance({}));
        const bool bOpened = run.App().OpenDocumentFile(QStringLiteral("sub/../a.wdq"));
        QDir::setCurrent(strOld);
        QVERIFY(bOpened);
        QCOMPARE(run.Records(), QStringList{CTestRun::Converted(QDir::cleanPath(run.Path("a.wdq")))});
        QCOMPARE(run.App().GetDocument().GetPathName(), QDir::cleanPath(run.Path("a.wdq")));
    }

    void aDesktopRequestToOpenAFileConvertsIt()
    {
        CTestRun run;
        const QString strA = run.Write("a.wdq");
        QVERIFY(run.App().InitInstance({}));
        QFileOpenEvent event(strA);
        QCoreApplication::sendEvent(qApp, &event);
        QCOMPARE(run.Rows(), QStringList{CTestRun::Converted(strA)});
    }

    // A recording cut short converts; the user learns of it without a modal box.
    void aWarningGoesToTheStatusBarWithTheFileName()
    {
        CTestRun run;
        CWdqBuilder builder;
        builder.m_nHeaderSize = 2000;
        builder.m_words.assign(40, 0);
        builder.m_nDataBytes = 160;
        const QString strShort = run.Write("short.wdq", builder.Build());
        run.App().SetMessageSink(nullptr);
        QVERIFY(run.App().InitInstance({}));

        run.App().OpenDocumentFile(strShort);

        QCOMPARE(run.Rows(), QStringList{CTestRun::Converted(strShort)});
        QCOMPARE(run.Frame().statusBar()->currentMessage(),
                 QStringLiteral(
                     "short.wdq: The file holds 40 of the 80 samples per channel that its header gives"));
    }

    void theDefaultSettingsBelongToBrenicTarvek()
    {
        const std::unique_ptr<QSettings> pSettings = CTarvekApp::CreateDefaultSettings();
        QCOMPARE(pSettings->organizationName(), QStringLiteral("Brenic"));
        QCOMPARE(pSettings->applicationName(), QStringLiteral("Tarvek"));
        QCOMPARE(pSettings->scope(), QSettings::UserScope);
        QVERIFY(pSettings->fileName().startsWith(QString::fromStdString(m_scratch.Path(""))));
    }

private:
    CScratchDir m_scratch;
};

QTEST_MAIN(TarvekAppTest)
#include "TarvekAppTest.moc"
