// A window's client area rendered into a bitmap: its own painting, its child controls, and black
// beyond its edge.
#include "framework/ui/WindowImage.h"

#include "framework/ui/Button.h"
#include "framework/ui/DC.h"
#include "tests/framework/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PaintedWindow : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(), {msg::Paint(&PaintedWindow::OnPaint)});
        return &map;
    }
    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        dc.FillSolidRect(CRect(0, 0, 400, 300), RGB(0, 0, 255));
        dc.FillSolidRect(CRect(10, 20, 30, 40), RGB(255, 0, 0));
    }
    int paints = 0;
};

COLORREF PixelAt(const CBitmap& bitmap, int x, int y) {
    const QColor c = bitmap.Image().pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

TEST(WindowImage, HoldsThePaintingTheChildrenAndBlackBeyondTheWindow) {
    PaintedWindow window;
    ASSERT_TRUE(CreateTopWindow(window));
    CButton button;
    ASSERT_TRUE(
        button.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(200, 200, 260, 230), &window, 7));
    CBitmap picture;
    ASSERT_TRUE(RenderClientArea(&window, picture, 500, 350));
    EXPECT_GE(window.paints, 1);
    EXPECT_EQ(picture.GetBitmapDimension(), CSize(500, 350));
    EXPECT_EQ(PixelAt(picture, 15, 25), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(picture, 5, 5), RGB(0, 0, 255));
    EXPECT_NE(PixelAt(picture, 230, 215), RGB(0, 0, 255)) << "the button is drawn over the painting";
    EXPECT_EQ(PixelAt(picture, 450, 320), RGB(0, 0, 0));
    // The same window gives the same picture again.
    CBitmap again;
    ASSERT_TRUE(RenderClientArea(&window, again, 500, 350));
    EXPECT_EQ(picture.Image(), again.Image());
    EXPECT_FALSE(RenderClientArea(nullptr, again, 10, 10));
    EXPECT_FALSE(RenderClientArea(&window, again, 0, 10));
}

} // namespace
