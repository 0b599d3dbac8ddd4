#include "ui/CTarvekView.h"

#include "engine/ConversionRecord.h"
#include "ui/AutoSizeColumns.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace {

constexpr int kFormWidth = 403;
constexpr int kFormHeight = 285;

} // namespace

CTarvekView::CTarvekView(const tarvek::CRecordList& records, QWidget* pParent)
    : cdxCSizingFormView(kFormWidth, kFormHeight, pParent), m_records(records), m_marker(new QLabel(Form())),
      m_resultList(new QTreeWidget(Form()))
{
    m_marker->setGeometry(MapDialogRect(QRect(385, 270, 9, 8)));

    m_resultList->setObjectName(QStringLiteral("resultList"));
    m_resultList->setGeometry(MapDialogRect(QRect(7, 7, 378, 262)));
    m_resultList->setColumnCount(0);
    m_resultList->setRootIsDecorated(false);
    m_resultList->setUniformRowHeights(true);
    m_resultList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_resultList->setSortingEnabled(false);
    // The widest content of every row counts, not only of the rows in sight.
    m_resultList->header()->setResizeContentsPrecision(-1);
    m_resultList->header()->setStretchLastSection(true);
    m_resultList->setWhatsThis(
        tr("Results: one row for each file handled since Tarvek started, in the order of "
           "handling. \"Source File\" is the recording, \"Target File\" the C3D file written "
           "beside it, and \"Result\" says whether it was converted."));
}

void CTarvekView::OnInitialUpdate()
{
    if (m_bInitialized)
        return;
    m_bInitialized = true;

    InitSizing(m_marker, kSizeWidth | kSizeHeight);
    AnchorControl(m_resultList, 0, 100, 0, 100);
    ResizeParentToFit();

    if (GetColumnCount(m_resultList) == 0)
        m_resultList->setHeaderLabels({tr("Source File"), tr("Target File"), tr("Result")});
}

void CTarvekView::OnUpdate()
{
    m_resultList->clear();
    QList<QTreeWidgetItem*> items;
    for (const tarvek::ConversionRecord& record : m_records.m_records)
        items.append(new QTreeWidgetItem(QStringList{QString::fromStdString(record.m_strSource),
                                                     QString::fromStdString(record.m_strTarget),
                                                     QString::fromStdString(record.m_strResult)}));
    m_resultList->addTopLevelItems(items);
    AutoSizeColumns(m_resultList, 3);
}
