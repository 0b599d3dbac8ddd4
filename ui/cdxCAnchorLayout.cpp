#include "ui/cdxCAnchorLayout.h"

#include <cstdint>

namespace {

// 64-bit product, so that no size can overflow; the division truncates toward zero.
int Share(int nPercent, int nOffset)
{
    return static_cast<int>(static_cast<std::int64_t>(nPercent) * nOffset / 100);
}

} // namespace

cdxCAnchorLayout::~cdxCAnchorLayout()
{
    ReleaseLayout();
}

void cdxCAnchorLayout::InitLayout(cdxCLayoutWindow* pWnd, int nSizeFlags, cdxCSize szRefClient)
{
    m_pWnd = pWnd;
    m_nSizeFlags = nSizeFlags;
    const cdxCRect rcWindow = pWnd->GetWindowRect();
    const cdxCRect rcClient = pWnd->GetClientRect();
    m_szRefClient = szRefClient;
    m_szRefWindow = {rcWindow.Width() - rcClient.Width() + szRefClient.m_nCx,
                     rcWindow.Height() - rcClient.Height() + szRefClient.m_nCy};
}

cdxCAnchoredControl& cdxCAnchorLayout::AddControl(std::unique_ptr<cdxCLayoutControl> pCtrl,
                                                  const cdxCAnchors& anchors)
{
    const cdxCRect rcRecorded = pCtrl->GetPlacement();
    m_controls.push_front({std::move(pCtrl), anchors, rcRecorded});
    return m_controls.front();
}

cdxCSize cdxCAnchorLayout::GetOffset(const cdxCRect& rcWindow, const cdxCRect& rcClient) const
{
    int nRight = rcClient.m_nRight;
    if (rcWindow.Width() < m_szRefWindow.m_nCx)
        nRight += m_szRefWindow.m_nCx - rcWindow.Width();
    int nBottom = rcClient.m_nBottom;
    if (rcWindow.Height() < m_szRefWindow.m_nCy)
        nBottom += m_szRefWindow.m_nCy - rcWindow.Height();
    return {nRight - m_szRefClient.m_nCx - rcClient.m_nLeft, nBottom - m_szRefClient.m_nCy - rcClient.m_nTop};
}

cdxCRect cdxCAnchorLayout::AnchoredRect(const cdxCRect& rcRecorded, const cdxCAnchors& anchors,
                                        cdxCSize szOffset)
{
    return {rcRecorded.m_nLeft + Share(anchors.m_nLeft, szOffset.m_nCx),
            rcRecorded.m_nTop + Share(anchors.m_nTop, szOffset.m_nCy),
            rcRecorded.m_nRight + Share(anchors.m_nRight, szOffset.m_nCx),
            rcRecorded.m_nBottom + Share(anchors.m_nBottom, szOffset.m_nCy)};
}

void cdxCAnchorLayout::LayoutControls(const cdxCRect& rcWindow, const cdxCRect& rcClient, bool bRepaint)
{
    if (!m_pWnd)
        return;
    const cdxCSize szOffset = GetOffset(rcWindow, rcClient);
    for (const cdxCAnchoredControl& control : m_controls) {
        if (control.m_pCtrl->IsWindow())
            control.m_pCtrl->SetWindowPos(AnchoredRect(control.m_rcRecorded, control.m_anchors, szOffset));
    }
    if (bRepaint && m_pWnd->IsWindowVisible())
        m_pWnd->Repaint();
}

void cdxCAnchorLayout::ReleaseLayout()
{
    m_controls.clear();
    m_pWnd = nullptr;
}
