#pragma once

// The arithmetic that moves and sizes a form's controls when the form changes size. It
// knows no toolkit: windows are reached through the two small interfaces below.

#include <cstdint>
#include <list>
#include <memory>

struct cdxCRect {
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;

    int Width() const { return m_nRight - m_nLeft; }
    int Height() const { return m_nBottom - m_nTop; }
    bool operator==(const cdxCRect&) const = default;
};

struct cdxCSize {
    int m_nCx = 0;
    int m_nCy = 0;

    bool operator==(const cdxCSize&) const = default;
};

// How far each edge follows the change of the form's size, in percent: 0 keeps the edge
// where it was, 100 moves it by the full change.
struct cdxCAnchors {
    std::uint8_t m_nLeft = 0;
    std::uint8_t m_nRight = 0;
    std::uint8_t m_nTop = 0;
    std::uint8_t m_nBottom = 0;
};

// A control that the layout moves.
class cdxCLayoutControl {
public:
    virtual ~cdxCLayoutControl() = default;
    // False once the control has been destroyed.
    virtual bool IsWindow() const = 0;
    // The rectangle in the parent's client coordinates.
    virtual cdxCRect GetPlacement() const = 0;
    virtual void SetWindowPos(const cdxCRect& rc) = 0;
};

// The window whose size drives the layout.
class cdxCLayoutWindow {
public:
    virtual ~cdxCLayoutWindow() = default;
    virtual bool IsWindow() const = 0;
    virtual bool IsWindowVisible() const = 0;
    // Outer rectangle, borders included.
    virtual cdxCRect GetWindowRect() const = 0;
    virtual cdxCRect GetClientRect() const = 0;
    virtual void Repaint() = 0;
};

struct cdxCAnchoredControl {
    std::unique_ptr<cdxCLayoutControl> m_pCtrl;
    cdxCAnchors m_anchors;
    cdxCRect m_rcRecorded;
};

class cdxCAnchorLayout {
public:
    static constexpr int kSizeWidth = 1;
    static constexpr int kSizeHeight = 2;

    cdxCAnchorLayout() = default;
    cdxCAnchorLayout(const cdxCAnchorLayout&) = delete;
    cdxCAnchorLayout& operator=(const cdxCAnchorLayout&) = delete;
    virtual ~cdxCAnchorLayout();

    // szRefClient is the client size the controls were designed for, at their present
    // rectangles. Nothing is moved.
    void InitLayout(cdxCLayoutWindow* pWnd, int nSizeFlags, cdxCSize szRefClient);

    // Records the control's present rectangle; nothing is moved.
    virtual cdxCAnchoredControl& AddControl(std::unique_ptr<cdxCLayoutControl> pCtrl,
                                            const cdxCAnchors& anchors);

    // Places every control for the managed window's rectangles. Does nothing before
    // InitLayout or after ReleaseLayout.
    void LayoutControls(const cdxCRect& rcWindow, const cdxCRect& rcClient, bool bRepaint);

    void ReleaseLayout();

    bool IsLayoutActive() const { return m_pWnd != nullptr; }

    // The change of size that the controls follow, for the given window rectangles. A
    // window smaller than its reference gets the missing outer size back, so that the
    // controls keep their designed layout instead of shrinking below it.
    cdxCSize GetOffset(const cdxCRect& rcWindow, const cdxCRect& rcClient) const;

    // A recorded rectangle moved by the anchored share of szOffset; each share is
    // truncated toward zero.
    static cdxCRect AnchoredRect(const cdxCRect& rcRecorded, const cdxCAnchors& anchors, cdxCSize szOffset);

    // Newest registration first.
    std::list<cdxCAnchoredControl> m_controls;
    cdxCLayoutWindow* m_pWnd = nullptr;
    cdxCSize m_szRefClient;
    // The outer size that gives the reference client size; also the smallest size.
    cdxCSize m_szRefWindow;
    int m_nSizeFlags = kSizeWidth | kSizeHeight;
};
