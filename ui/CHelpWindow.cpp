#include "ui/CHelpWindow.h"

#include "ui/AppIcons.h"

CHelpWindow::CHelpWindow(QWidget* pParent) : QTextBrowser(pParent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Tarvek Help"));
    setOpenExternalLinks(true);
    InitResources();
    setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    resize(640, 560);
}
