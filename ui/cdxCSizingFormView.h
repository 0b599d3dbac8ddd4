#pragma once

#include "ui/cdxCAnchorLayout.h"

#include <QScrollArea>

#include <memory>

// A form view: a fixed form of controls laid out in dialog units, inside scroll bars
// that appear when the window is smaller than the form. Registered controls follow the
// form's size by their anchors.
class cdxCSizingFormView : public QScrollArea, public cdxCAnchorLayout {
    Q_OBJECT

public:
    ~cdxCSizingFormView() override;

    // The view's first update; the derived view sets up its layout here.
    virtual void OnInitialUpdate() = 0;
    // Re-reads what the view shows.
    virtual void OnUpdate() = 0;

    // The form that holds the controls.
    QWidget* Form() const { return m_pForm; }

protected:
    // The form's designed size, in dialog units.
    cdxCSizingFormView(int nFormWidth, int nFormHeight, QWidget* pParent);

    // Dialog units to pixels of the form's font, as a dialog template is placed.
    QRect MapDialogRect(const QRect& rcDialogUnits) const;

    // Runs the first OnUpdate, then takes the lower right corner of pRefControl as the
    // reference client size of the layout.
    void InitSizing(QWidget* pRefControl, int nSizeFlags);
    void AnchorControl(QWidget* pCtrl, int nLeft, int nRight, int nTop, int nBottom);

    // Shrinks the window so that the view is no larger than the form; never enlarges it.
    void ResizeParentToFit();

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    class CFormWindow;

    QWidget* m_pForm;
    std::unique_ptr<CFormWindow> m_pFormWindow;
    QSize m_szForm;
};
