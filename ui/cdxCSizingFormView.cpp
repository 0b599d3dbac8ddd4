#include "ui/cdxCSizingFormView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QPointer>

namespace {

cdxCRect ToRect(const QRect& rc)
{
    return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

class CControl : public cdxCLayoutControl {
public:
    explicit CControl(QWidget* pCtrl) : m_pCtrl(pCtrl) {}

    bool IsWindow() const override { return !m_pCtrl.isNull(); }
    cdxCRect GetPlacement() const override { return ToRect(m_pCtrl->geometry()); }
    void SetWindowPos(const cdxCRect& rc) override
    {
        m_pCtrl->setGeometry(rc.m_nLeft, rc.m_nTop, rc.Width(), rc.Height());
    }

private:
    QPointer<QWidget> m_pCtrl;
};

} // namespace

// The form has no border of its own, so its outer and client rectangles coincide.
class cdxCSizingFormView::CFormWindow : public cdxCLayoutWindow {
public:
    explicit CFormWindow(QWidget* pForm) : m_pForm(pForm) {}

    bool IsWindow() const override { return !m_pForm.isNull(); }
    bool IsWindowVisible() const override { return m_pForm->isVisible(); }
    cdxCRect GetWindowRect() const override { return ToRect(m_pForm->rect()); }
    cdxCRect GetClientRect() const override { return ToRect(m_pForm->rect()); }
    void Repaint() override { m_pForm->update(); }

private:
    QPointer<QWidget> m_pForm;
};

cdxCSizingFormView::cdxCSizingFormView(int nFormWidth, int nFormHeight, QWidget* pParent)
    : QScrollArea(pParent), m_pForm(new QWidget), m_pFormWindow(std::make_unique<CFormWindow>(m_pForm))
{
    setFrameShape(QFrame::NoFrame);
    setWidget(m_pForm);
    setWidgetResizable(true);
    m_szForm = MapDialogRect(QRect(0, 0, nFormWidth, nFormHeight)).size();
    m_pForm->installEventFilter(this);
}

cdxCSizingFormView::~cdxCSizingFormView()
{
    ReleaseLayout();
}

QRect cdxCSizingFormView::MapDialogRect(const QRect& rcDialogUnits) const
{
    // The base units of a dialog font: its average letter width and its height.
    const QFontMetrics metrics(m_pForm->font());
    const int nBaseX =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
             26 +
         1) /
        2;
    const int nBaseY = metrics.height();
    return QRect(rcDialogUnits.x() * nBaseX / 4, rcDialogUnits.y() * nBaseY / 8,
                 rcDialogUnits.width() * nBaseX / 4, rcDialogUnits.height() * nBaseY / 8);
}

void cdxCSizingFormView::InitSizing(QWidget* pRefControl, int nSizeFlags)
{
    OnUpdate();
    const QRect rcRef = pRefControl->geometry();
    InitLayout(m_pFormWindow.get(), nSizeFlags, {rcRef.left() + rcRef.width(), rcRef.top() + rcRef.height()});

    // Below its reference size the form scrolls; a fixed dimension does not change.
    m_pForm->setMinimumSize(m_szRefWindow.m_nCx, m_szRefWindow.m_nCy);
    if (!(nSizeFlags & kSizeWidth))
        m_pForm->setMaximumWidth(m_szRefWindow.m_nCx);
    if (!(nSizeFlags & kSizeHeight))
        m_pForm->setMaximumHeight(m_szRefWindow.m_nCy);
}

void cdxCSizingFormView::AnchorControl(QWidget* pCtrl, int nLeft, int nRight, int nTop, int nBottom)
{
    AddControl(std::make_unique<CControl>(pCtrl),
               {static_cast<std::uint8_t>(nLeft), static_cast<std::uint8_t>(nRight),
                static_cast<std::uint8_t>(nTop), static_cast<std::uint8_t>(nBottom)});
}

void cdxCSizingFormView::ResizeParentToFit()
{
    QWidget* pFrame = window();
    if (pFrame == this)
        return;
    if (pFrame->layout())
        pFrame->layout()->activate();
    const QSize szExcess = (maximumViewportSize() - m_szForm).expandedTo(QSize(0, 0));
    pFrame->resize(pFrame->size() - szExcess);
}

bool cdxCSizingFormView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pForm && pEvent->type() == QEvent::Resize && IsLayoutActive() && m_pWnd->IsWindow())
        LayoutControls(m_pWnd->GetWindowRect(), m_pWnd->GetClientRect(), true);
    return QScrollArea::eventFilter(pWatched, pEvent);
}
