#pragma once

#include <QTextBrowser>

// The help page that the program ships: how to convert, and what the results mean.
class CHelpWindow : public QTextBrowser {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* pParent = nullptr);
};
