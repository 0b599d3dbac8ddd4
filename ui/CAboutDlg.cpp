#include "ui/CAboutDlg.h"

#include "ui/AppIcons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(tr("About Tarvek"));

    auto* pIcon = new QLabel;
    pIcon->setPixmap(LoadAppIcon().pixmap(32, 32));
    auto* pVersion = new QLabel(QStringLiteral("Tarvek Version " TARVEK_VERSION));
    pVersion->setTextFormat(Qt::PlainText);
    pVersion->setObjectName(QStringLiteral("version"));
    auto* pWhat = new QLabel(tr("Converts WDQ recordings into C3D files"));
    auto* pOk = new QPushButton(tr("OK"));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* pLayout = new QGridLayout(this);
    pLayout->setHorizontalSpacing(16);
    pLayout->addWidget(pIcon, 0, 0, 2, 1, Qt::AlignTop);
    pLayout->addWidget(pVersion, 0, 1);
    pLayout->addWidget(pWhat, 1, 1);
    pLayout->addWidget(pOk, 0, 2, Qt::AlignTop);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}
