// tarvek-screenshot OUT.png FILE...: opens the real main window, converts the files as if
// chosen in File Open, and saves a picture of the window as the X server shows it. For the
// README's screenshot, under Xvfb. Messages are printed instead of shown in boxes, so
// that a failing file does not stop it; settings go to a temporary folder.

#include "ui/AppIcons.h"
#include "ui/CMainFrame.h"
#include "ui/CTarvekApp.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class CSelection : public CFileChooser {
public:
    explicit CSelection(QStringList files) : m_files(std::move(files)) {}
    std::optional<QStringList> ChooseFiles(QWidget*) override { return m_files; }

private:
    QStringList m_files;
};

class CPrintingSink : public tarvek::CMessageSink {
public:
    void ShowMessage(const std::string& strText, tarvek::EMessageIcon) override
    {
        std::printf("message: %s\n", strText.c_str());
    }
    void ShowWarning(const std::string& strText) override { std::printf("warning: %s\n", strText.c_str()); }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(LoadAppIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("Usage: tarvek-screenshot OUT.png FILE...\n", stderr);
        return 2;
    }

    QTemporaryDir settingsDir;
    CTarvekApp app(std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("settings.ini")),
                                               QSettings::IniFormat));
    CSelection selection(arguments.mid(2));
    CPrintingSink sink;
    app.SetFileChooser(&selection);
    app.SetMessageSink(&sink);
    app.InitInstance({});

    CMainFrame* pFrame = app.GetMainWnd();
    int nExit = 1;
    QTimer::singleShot(500, pFrame, [&] {
        pFrame->findChild<QAction*>(QStringLiteral("fileOpen"))->trigger();
        QTimer::singleShot(1000, pFrame, [&] {
            const QRect rc = pFrame->frameGeometry();
            const QPixmap picture = pFrame->screen()->grabWindow(0, rc.x(), rc.y(), rc.width(), rc.height());
            nExit = picture.save(arguments[1]) ? 0 : 1;
            QApplication::quit();
        });
    });
    QApplication::exec();
    return nExit;
}
