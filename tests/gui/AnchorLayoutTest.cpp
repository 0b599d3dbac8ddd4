// The anchor arithmetic on its own, then applied to the results view as it is resized.

#include "engine/ConversionRecord.h"
#include "ui/CTarvekView.h"
#include "ui/cdxCAnchorLayout.h"

#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

namespace {

class CFakeControl : public cdxCLayoutControl {
public:
    explicit CFakeControl(cdxCRect rc) : m_rc(rc) {}
    bool IsWindow() const override { return m_bAlive; }
    cdxCRect GetPlacement() const override { return m_rc; }
    void SetWindowPos(const cdxCRect& rc) override
    {
        m_rc = rc;
        ++m_nMoves;
    }

    cdxCRect m_rc;
    bool m_bAlive = true;
    int m_nMoves = 0;
};

class CFakeWindow : public cdxCLayoutWindow {
public:
    bool IsWindow() const override { return true; }
    bool IsWindowVisible() const override { return m_bVisible; }
    cdxCRect GetWindowRect() const override { return m_rcWindow; }
    cdxCRect GetClientRect() const override { return m_rcClient; }
    void Repaint() override { ++m_nRepaints; }

    // A window at (100, 50) with 4-pixel borders and a 20-pixel caption.
    void SetClientSize(int nCx, int nCy)
    {
        m_rcClient = {0, 0, nCx, nCy};
        m_rcWindow = {100, 50, 100 + nCx + 8, 50 + nCy + 24};
    }

    cdxCRect m_rcWindow;
    cdxCRect m_rcClient;
    bool m_bVisible = true;
    int m_nRepaints = 0;
};

constexpr cdxCRect kRecorded{10, 20, 110, 70};
constexpr cdxCSize kRefClient{400, 300};

// A layout set up at its reference size, with one control of the given anchors.
struct CLayoutFixture {
    explicit CLayoutFixture(cdxCAnchors anchors)
    {
        window.SetClientSize(kRefClient.m_nCx, kRefClient.m_nCy);
        layout.InitLayout(&window, cdxCAnchorLayout::kSizeWidth | cdxCAnchorLayout::kSizeHeight, kRefClient);
        auto pOwned = std::make_unique<CFakeControl>(kRecorded);
        pControl = pOwned.get();
        layout.AddControl(std::move(pOwned), anchors);
    }
    cdxCRect LayOut(int nCx, int nCy)
    {
        window.SetClientSize(nCx, nCy);
        layout.LayoutControls(window.GetWindowRect(), window.GetClientRect(), true);
        return pControl->m_rc;
    }

    CFakeWindow window;
    cdxCAnchorLayout layout;
    CFakeControl* pControl;
};

} // namespace

Q_DECLARE_METATYPE(cdxCAnchors)
Q_DECLARE_METATYPE(cdxCRect)

namespace QTest {
template <> char* toString(const cdxCRect& rc)
{
    return qstrdup(QStringLiteral("(%1, %2, %3, %4)")
                       .arg(rc.m_nLeft)
                       .arg(rc.m_nTop)
                       .arg(rc.m_nRight)
                       .arg(rc.m_nBottom)
                       .toLatin1()
                       .constData());
}
} // namespace QTest

class AnchorLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void theReferenceWindowSizeIncludesTheBorders()
    {
        CLayoutFixture fixture({0, 100, 0, 100});
        QCOMPARE(fixture.layout.m_szRefClient, kRefClient);
        QCOMPARE(fixture.layout.m_szRefWindow, (cdxCSize{408, 324}));
        QCOMPARE(fixture.pControl->m_nMoves, 0);
    }

    void controlsFollowTheirAnchors_data()
    {
        QTest::addColumn<cdxCAnchors>("anchors");
        QTest::addColumn<int>("cx");
        QTest::addColumn<int>("cy");
        QTest::addColumn<cdxCRect>("expected");
        const cdxCAnchors stretch{0, 100, 0, 100}, follow{100, 100, 100, 100}, centre{50, 50, 50, 50};
        QTest::newRow("at the reference size") << stretch << 400 << 300 << kRecorded;
        QTest::newRow("stretched") << stretch << 500 << 340 << cdxCRect{10, 20, 210, 110};
        QTest::newRow("moved with the corner") << follow << 500 << 340 << cdxCRect{110, 60, 210, 110};
        QTest::newRow("half way") << centre << 500 << 340 << cdxCRect{60, 40, 160, 90};
        QTest::newRow("left alone") << cdxCAnchors{0, 0, 0, 0} << 500 << 340 << kRecorded;
        QTest::newRow("narrower than the reference") << stretch << 300 << 200 << kRecorded;
    }
    void controlsFollowTheirAnchors()
    {
        QFETCH(cdxCAnchors, anchors);
        QFETCH(int, cx);
        QFETCH(int, cy);
        QFETCH(cdxCRect, expected);
        CLayoutFixture fixture(anchors);
        QCOMPARE(fixture.LayOut(cx, cy), expected);
    }

    void aShareTruncatesTowardZero()
    {
        // Borders 3 and 1 pixels thicker than at the reference: dx = -3, dy = -1, and a
        // half share of -3 is -1, not -2.
        CLayoutFixture fixture({50, 50, 50, 50});
        fixture.layout.LayoutControls({0, 0, 408, 324}, {0, 0, 397, 299}, false);
        QCOMPARE(fixture.pControl->m_rc, (cdxCRect{9, 20, 109, 70}));

        QCOMPARE(cdxCAnchorLayout::AnchoredRect({0, 0, 0, 0}, {50, 100, 50, 100}, {-3, -150}),
                 (cdxCRect{-1, -75, -3, -150}));
        QCOMPARE(cdxCAnchorLayout::AnchoredRect({0, 0, 0, 0}, {1, 1, 1, 1}, {-150, 150}),
                 (cdxCRect{-1, 1, -1, 1}));
    }

    // The missing outer size is added back, so only the changed borders count.
    void aWindowSmallerThanItsReferenceKeepsTheDesignedLayout()
    {
        CLayoutFixture fixture({0, 100, 0, 100});
        QCOMPARE(fixture.layout.GetOffset({0, 0, 300, 200}, {0, 0, 292, 176}), (cdxCSize{0, 0}));
        // Thicker borders than at the reference eat into the client area.
        QCOMPARE(fixture.layout.GetOffset({0, 0, 300, 200}, {0, 0, 280, 170}), (cdxCSize{-12, -6}));
        QCOMPARE(fixture.layout.GetOffset({0, 0, 508, 364}, {4, 20, 504, 360}), (cdxCSize{100, 40}));
    }

    void nothingMovesBeforeInitialisationOrAfterRelease()
    {
        cdxCAnchorLayout layout;
        auto pOwned = std::make_unique<CFakeControl>(kRecorded);
        CFakeControl* pControl = pOwned.get();
        layout.AddControl(std::move(pOwned), {100, 100, 100, 100});
        layout.LayoutControls({0, 0, 900, 900}, {0, 0, 900, 900}, true);
        QCOMPARE(pControl->m_nMoves, 0);

        CLayoutFixture fixture({100, 100, 100, 100});
        fixture.layout.ReleaseLayout();
        QVERIFY(fixture.layout.m_controls.empty());
        QVERIFY(!fixture.layout.IsLayoutActive());
        fixture.window.SetClientSize(900, 900);
        fixture.layout.LayoutControls(fixture.window.GetWindowRect(), fixture.window.GetClientRect(), true);
        QCOMPARE(fixture.window.m_nRepaints, 0);
    }

    void newestFirstDestroyedControlsSkippedRepaintOnlyWhenVisible()
    {
        CLayoutFixture fixture({0, 100, 0, 100});
        auto pOwned = std::make_unique<CFakeControl>(cdxCRect{1, 2, 3, 4});
        CFakeControl* pNewer = pOwned.get();
        fixture.layout.AddControl(std::move(pOwned), {0, 0, 0, 0});
        QCOMPARE(fixture.layout.m_controls.front().m_pCtrl.get(), pNewer);
        QCOMPARE(fixture.layout.m_controls.front().m_rcRecorded, (cdxCRect{1, 2, 3, 4}));

        fixture.pControl->m_bAlive = false;
        fixture.LayOut(500, 340);
        QCOMPARE(fixture.pControl->m_nMoves, 0);
        QCOMPARE(pNewer->m_nMoves, 1);
        QCOMPARE(fixture.window.m_nRepaints, 1);

        fixture.window.m_bVisible = false;
        fixture.LayOut(600, 340);
        QCOMPARE(fixture.window.m_nRepaints, 1);
    }

    // Always from the recorded rectangle: growing and shrinking back returns it exactly.
    void aLayoutStartsFromTheRecordedRectangle()
    {
        CLayoutFixture fixture({50, 50, 50, 50});
        fixture.LayOut(403, 301);
        fixture.LayOut(405, 303);
        QCOMPARE(fixture.LayOut(400, 300), kRecorded);
    }

    void theResultsListStretchesWithTheView()
    {
        tarvek::CRecordList records;
        CTarvekView view(records);
        const QRect rcDesigned = view.ResultList()->geometry();
        view.resize(view.sizeHint() + QSize(300, 300));
        view.show();
        QCOMPARE(view.ResultList()->geometry(), rcDesigned);

        view.OnInitialUpdate();
        const QSize szRef(view.m_szRefClient.m_nCx, view.m_szRefClient.m_nCy);
        view.resize(szRef + QSize(100, 40));
        QTRY_COMPARE(view.ResultList()->geometry(), rcDesigned.adjusted(0, 0, 100, 40));

        // Smaller than the form: the list keeps its size and the form scrolls.
        view.resize(szRef - QSize(100, 100));
        QTRY_COMPARE(view.ResultList()->geometry(), rcDesigned);
        QVERIFY(view.horizontalScrollBar()->maximum() > 0);
        QVERIFY(view.verticalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(AnchorLayoutTest)
#include "AnchorLayoutTest.moc"
