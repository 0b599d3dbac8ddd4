#pragma once

#include <QDialog>

// "About Tarvek": the icon, the version and what the program does.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
