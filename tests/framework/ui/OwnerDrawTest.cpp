// Colours chosen by WM_CTLCOLOR handlers and owner-drawn controls, seen on rendered widgets.
#include "UiTestSupport.h"

#include "framework/core/ResourceModule.h"
#include "framework/ui/BitmapButton.h"
#include "framework/ui/Button.h"
#include "framework/ui/DC.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/Static.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class CColoured : public CWnd {
public:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CWnd::GetMessageMap(), {msg::CtlColor(&CColoured::OnCtlColor)});
        return &map;
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
        ++asked;
        if (kind == CTLCOLOR_STATIC && control->GetDlgCtrlID() == 1015) {
            dc->SetTextColor(RGB(0, 0, 255));
            dc->SetBkMode(TRANSPARENT);
            return &red;
        }
        return nullptr;
    }
    CBrush red{RGB(255, 0, 0)};
    int asked = 0;
};

// A button that paints itself green.
class CGreenButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        CBrush green(RGB(0, 255, 0));
        item->hDC->FillRect(item->rcItem, &green);
        ++draws;
    }
    int draws = 0;
};

TEST(OwnerDraw, CtlColorHandlersColourTheirControls) {
    CColoured panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CStatic blue, plain;
    ASSERT_TRUE(blue.Create("1", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &panel, 1015));
    ASSERT_TRUE(plain.Create("2", WS_CHILD | WS_VISIBLE, CRect(0, 30, 40, 50), &panel, 1016));
    const QColor before = plain.GetWidget()->palette().color(QPalette::WindowText);
    blue.GetWidget()->grab();
    plain.GetWidget()->grab();
    EXPECT_GE(panel.asked, 2);
    EXPECT_EQ(blue.GetWidget()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(blue.GetWidget()->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(plain.GetWidget()->palette().color(QPalette::WindowText), before);
    const QImage image = blue.GetWidget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(255, 0, 0));
}

// Painted while disabled under a parent that answers for colours, a control must not keep the
// disabled grey once enabled again.
TEST(OwnerDraw, ControlsPaintedWhileDisabledLookEnabledAgain) {
    CColoured panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CButton button;
    ASSERT_TRUE(button.Create("Parameters", WS_CHILD | WS_VISIBLE, CRect(0, 0, 90, 24), &panel, 1101));
    QWidget* widget = button.GetWidget();
    const QImage enabled = widget->grab().toImage();
    const QColor text = widget->palette().color(QPalette::Active, QPalette::ButtonText);
    button.EnableWindow(FALSE);
    EXPECT_NE(widget->grab().toImage(), enabled);
    button.EnableWindow(TRUE);
    EXPECT_EQ(widget->palette().color(QPalette::Active, QPalette::ButtonText), text);
    EXPECT_EQ(widget->grab().toImage(), enabled);
}

TEST(OwnerDraw, OwnerDrawnButtonsPaintThroughDrawItem) {
    CColoured panel;
    ASSERT_TRUE(CreateTopWindow(panel));
    CGreenButton button;
    ASSERT_TRUE(button.Create("x", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 30, 20), &panel, 7));
    const QImage image = button.GetWidget()->grab().toImage();
    EXPECT_GE(button.draws, 1);
    EXPECT_EQ(image.pixelColor(15, 10), QColor(0, 255, 0));
}

ImageResource Png(int id, QColor colour) {
    QImage image(12, 8, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    ImageResource resource;
    resource.id = id;
    resource.bytes.assign(bytes.begin(), bytes.end());
    return resource;
}

// A dialog of the resource module whose button shows the module's bitmaps.
class CPictureDlg : public CDialog {
public:
    CPictureDlg() : CDialog(300) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        loaded = button.AutoLoad(1066, this, 158, 157);
        return TRUE;
    }
    CBitmapButton button;
    BOOL loaded = FALSE;
};

TEST(OwnerDraw, BitmapButtonsShowTheModulesBitmapsAndSizeToThem) {
    EnsureQtApplication();
    ResourceSet set;
    set.images[158] = Png(158, QColor(255, 0, 0));
    set.images[157] = Png(157, QColor(0, 0, 255));
    DialogTemplate t;
    t.id = 300;
    t.cx = 100;
    t.cy = 50;
    DialogControlTemplate start;
    start.id = 1066;
    start.className = "BUTTON";
    start.text = "START";
    start.cx = 40;
    start.cy = 14;
    start.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    t.controls.push_back(start);
    set.dialogs[300] = t;
    ScopedResourceModule module(std::make_shared<CResourceModule>(std::move(set)));

    CPictureDlg dlg;
    CDialog::SetModalHookForTest([&](CDialog&) {
        ASSERT_TRUE(dlg.loaded);
        CRect r;
        dlg.button.GetClientRect(&r);
        EXPECT_EQ(r, CRect(0, 0, 12, 8));
        const QImage normal = dlg.button.GetWidget()->grab().toImage();
        EXPECT_EQ(normal.pixelColor(5, 4), QColor(255, 0, 0));
        dlg.button.SetState(TRUE); // pressed
        const QImage pressed = dlg.button.GetWidget()->grab().toImage();
        EXPECT_EQ(pressed.pixelColor(5, 4), QColor(0, 0, 255));
        dlg.button.SetState(FALSE);

        // Stretched a little the picture fills its button; to quite another shape it gives way to
        // the caption on a plain face.
        struct Case {
            CSize size;
            bool picture;
        } cases[] = {{CSize(15, 8), true}, {CSize(60, 8), false}};
        for (const Case& c : cases) {
            dlg.button.MoveWindow(0, 0, c.size.cx, c.size.cy);
            const QImage shown = dlg.button.GetWidget()->grab().toImage();
            EXPECT_EQ(shown.pixelColor(c.size.cx / 2, 4) == QColor(255, 0, 0), c.picture) << c.size.cx;
        }
        dlg.EndDialog(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    CDialog::SetModalHookForTest(nullptr);
}

} // namespace
