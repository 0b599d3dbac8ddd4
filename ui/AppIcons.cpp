#include "ui/AppIcons.h"

// The resources live in a static library: nothing would pull them in otherwise.
void InitResources()
{
    Q_INIT_RESOURCE(tarvek);
}

QIcon LoadAppIcon()
{
    InitResources();
    return QIcon(QStringLiteral(":/icons/tarvek.svg"));
}

QIcon LoadToolIcon(const QString& strName)
{
    InitResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(strName));
}
