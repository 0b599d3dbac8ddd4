// The results list: its columns, its rows and the column-width rule.

#include "engine/ConversionRecord.h"
#include "ui/AutoSizeColumns.h"
#include "ui/CTarvekView.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

using namespace tarvek;

namespace {

QStringList Row(const QTreeWidget& list, int nRow)
{
    const QTreeWidgetItem* pItem = list.topLevelItem(nRow);
    return {pItem->text(0), pItem->text(1), pItem->text(2)};
}

QStringList Headings(const QTreeWidget& list)
{
    QStringList headings;
    for (int i = 0; i < list.columnCount(); ++i)
        headings.append(list.headerItem()->text(i));
    return headings;
}

} // namespace

class ResultsViewTest : public QObject {
    Q_OBJECT

private slots:
    void theColumnWidthRule_data()
    {
        QTest::addColumn<int>("content");
        QTest::addColumn<int>("header");
        QTest::addColumn<int>("width");
        QTest::newRow("content wider") << 300 << 80 << 315;
        QTest::newRow("both narrow") << 20 << 25 << 50;
        QTest::newRow("header wider") << 60 << 90 << 105;
        QTest::newRow("just over the floor") << 36 << 10 << 51;
        QTest::newRow("empty column") << 0 << 0 << 50;
    }
    void theColumnWidthRule()
    {
        QFETCH(int, content);
        QFETCH(int, header);
        QFETCH(int, width);
        QCOMPARE(ColumnWidth(content, header), width);
    }

    void beforeAnyConversionTheListShowsTheThreeHeadingsAndNoRows()
    {
        CRecordList records;
        CTarvekView view(records);
        QCOMPARE(GetColumnCount(view.ResultList()), 0);
        view.OnInitialUpdate();
        QCOMPARE(Headings(*view.ResultList()), (QStringList{"Source File", "Target File", "Result"}));
        QCOMPARE(view.ResultList()->topLevelItemCount(), 0);
        QCOMPARE(GetColumnCount(nullptr), 0);
    }

    void eachUpdateRebuildsTheWholeListInRecordOrder()
    {
        CRecordList records;
        CTarvekView view(records);
        view.OnInitialUpdate();
        records.AddRecord("/d/a.wdq", "/d/a.c3d", "Converted");
        records.AddRecord("/d/gone.wdq", "", "The file could not be found");
        records.AddRecord("/d/b.wdq", "/d/b.c3d", "Could not open source file");
        view.OnUpdate();
        QCOMPARE(view.ResultList()->topLevelItemCount(), 3);

        records.AddRecord("/d/c.wdq", "/d/c.c3d", "Could not convert to c3d file");
        view.OnUpdate();

        const QTreeWidget& list = *view.ResultList();
        QCOMPARE(list.topLevelItemCount(), 4);
        QCOMPARE(Row(list, 0), (QStringList{"/d/a.wdq", "/d/a.c3d", "Converted"}));
        QCOMPARE(Row(list, 1), (QStringList{"/d/gone.wdq", "", "The file could not be found"}));
        QCOMPARE(Row(list, 2), (QStringList{"/d/b.wdq", "/d/b.c3d", "Could not open source file"}));
        QCOMPARE(Row(list, 3), (QStringList{"/d/c.wdq", "/d/c.c3d", "Could not convert to c3d file"}));
    }

    // Every row counts, also those scrolled out of sight.
    void theColumnsFitTheWidestRowAndTheirHeadings()
    {
        CRecordList records;
        CTarvekView view(records);
        view.resize(800, 500);
        view.OnInitialUpdate();
        view.show();
        const std::string strLong = "/recordings/" + std::string(120, 'x') + ".wdq";
        for (int i = 0; i < 200; ++i)
            records.AddRecord("/d/" + std::to_string(i) + ".wdq", "/d/t.c3d", "Converted");
        records.AddRecord(strLong, "/d/t.c3d", "Converted");
        view.OnUpdate();

        const QTreeWidget& list = *view.ResultList();
        const QHeaderView& header = *list.header();
        const QFontMetrics metrics(list.font());
        QVERIFY(header.sectionSize(0) >= metrics.horizontalAdvance(QString::fromStdString(strLong)) + 15);
        QVERIFY(header.sectionSize(1) >= metrics.horizontalAdvance(QStringLiteral("Target File")) + 15);
        QVERIFY(header.sectionSize(1) < metrics.horizontalAdvance(QStringLiteral("Target File")) + 60);
        QVERIFY(header.sectionSize(2) >= 50);
    }

    // The last column reaches the right edge of the list when there is room.
    void theLastColumnFillsTheList()
    {
        CRecordList records;
        CTarvekView view(records);
        view.resize(900, 500);
        view.OnInitialUpdate();
        view.show();
        records.AddRecord("/d/a.wdq", "/d/a.c3d", "Converted");
        view.OnUpdate();
        const QTreeWidget& list = *view.ResultList();
        QTRY_COMPARE(list.header()->length(), list.viewport()->width());
        QVERIFY(list.header()->sectionSize(2) > 50);
    }

    void aSecondInitialUpdateLeavesRowsColumnsAndLayout()
    {
        CRecordList records;
        CTarvekView view(records);
        view.OnInitialUpdate();
        records.AddRecord("/d/a.wdq", "/d/a.c3d", "Converted");
        view.OnUpdate();
        const int nWidth = view.ResultList()->header()->sectionSize(0);
        const std::size_t nControls = view.m_controls.size();

        view.OnInitialUpdate();

        QCOMPARE(view.ResultList()->columnCount(), 3);
        QCOMPARE(view.ResultList()->topLevelItemCount(), 1);
        QCOMPARE(view.ResultList()->header()->sectionSize(0), nWidth);
        QCOMPARE(view.m_controls.size(), nControls);
    }
};

QTEST_MAIN(ResultsViewTest)
#include "ResultsViewTest.moc"
