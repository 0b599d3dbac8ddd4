#include "ui/AutoSizeColumns.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

int ColumnWidth(int nContentWidth, int nHeaderWidth)
{
    return std::max({nContentWidth + 15, nHeaderWidth + 15, 50});
}

int AutoSizeColumns(QTreeWidget* pList, int nColumns)
{
    QHeaderView* pHeader = pList->header();
    const QAbstractItemView* pView = pList;
    for (int i = 0; i < nColumns; ++i) {
        // An empty column has no content width.
        const int nContent = std::max(pView->sizeHintForColumn(i), 0);
        pHeader->resizeSection(i, ColumnWidth(nContent, pHeader->sectionSizeHint(i)));
    }
    return nColumns;
}

int GetColumnCount(const QTreeWidget* pList)
{
    if (!pList || !pList->header())
        return 0;
    return pList->header()->count();
}
