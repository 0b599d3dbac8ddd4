#pragma once

#include <QIcon>

// Makes the program's resources (pictures, help page) available; may be called often.
void InitResources();

// The program's own pictures, from its resources.
QIcon LoadAppIcon();
// "open", "about" or "context-help".
QIcon LoadToolIcon(const QString& strName);
