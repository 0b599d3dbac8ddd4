#pragma once

#include "ui/cdxCSizingFormView.h"

namespace tarvek {
class CRecordList;
}
class QLabel;
class QTreeWidget;

// The results view: one row per conversion of this run, in conversion order, with the
// source, the target and the result.
class CTarvekView : public cdxCSizingFormView {
    Q_OBJECT

public:
    explicit CTarvekView(const tarvek::CRecordList& records, QWidget* pParent = nullptr);

    // Sets up the layout and the columns once; later calls do nothing.
    void OnInitialUpdate() override;
    // Rebuilds the whole list from the records.
    void OnUpdate() override;

    QTreeWidget* ResultList() const { return m_resultList; }

private:
    const tarvek::CRecordList& m_records;
    // Marks the lower right corner of the form's designed size.
    QLabel* m_marker;
    QTreeWidget* m_resultList;
    bool m_bInitialized = false;
};
