#pragma once

class QTreeWidget;

// The width of a results column: room for its widest content and for its heading, with
// a margin of 15 pixels, and never less than 50.
int ColumnWidth(int nContentWidth, int nHeaderWidth);

// Sizes columns 0 to nColumns - 1 of the list by ColumnWidth; returns nColumns.
int AutoSizeColumns(QTreeWidget* pList, int nColumns);

// 0 without a list; otherwise the number of columns of its header.
int GetColumnCount(const QTreeWidget* pList);
