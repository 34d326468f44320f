// Colour swatch combo, colour static and the transparent bitmap static.
#include "ControlsTestSupport.h"
#include "controls/ColorComboEx.h"
#include "controls/ColorStatic.h"
#include "controls/ColorTable.h"
#include "controls/TransparentStatic.h"
#include "framework/core/ResourceModule.h"
#include "framework/ui/DC.h"

#include <QBuffer>
#include <QComboBox>

namespace {

constexpr UINT kComboId = 1500;

class ColorControlsTest : public ControlsWindowTest {};

TEST_F(ColorControlsTest, ComboListsFifteenSwatchesAndKeepsItsSelectionChanges) {
    CComboBox plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                             CRect(10, 10, 120, 200), &parent, kComboId));
    CColorComboEx combo;
    ASSERT_TRUE(combo.SubclassDlgItem(kComboId, &parent));
    ASSERT_EQ(combo.GetCount(), kSwatchColourCount);
    EXPECT_EQ(combo.GetCurSel(), 0);
    EXPECT_EQ(combo.GetItemData(0), RGB(255, 0, 0));
    EXPECT_EQ(combo.GetItemData(14), RGB(255, 128, 64));
    EXPECT_EQ(combo.GetLBText(3), "");
    // The user picks another colour: the dialog is not told.
    qobject_cast<QComboBox*>(combo.GetWidget())->setCurrentIndex(3);
    EXPECT_EQ(combo.GetCurSel(), 3);
    EXPECT_EQ(combo.GetItemData(3), RGB(0, 0, 255));
    EXPECT_EQ(parent.Count(WM_COMMAND, CBN_SELCHANGE), 0);
}

TEST_F(ColorControlsTest, ComboAttachedByDataExchangeFillsOnFirstUse) {
    CComboBox plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                             CRect(10, 10, 120, 200), &parent, kComboId));
    CColorComboEx combo;
    ASSERT_TRUE(combo.CWnd::SubclassDlgItem(kComboId, &parent)); // what data exchange does
    EXPECT_EQ(combo.SetCurSel(5), 5);
    EXPECT_EQ(combo.GetCount(), kSwatchColourCount);
    EXPECT_EQ(combo.GetItemData(combo.GetCurSel()), RGB(0, 255, 255));
}

TEST_F(ColorControlsTest, SwatchIsFramedFilledAndFocusedWhenSelected) {
    CColorComboEx combo;
    QImage image(40, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CDC dc(&image);
        DRAWITEMSTRUCT item;
        item.itemID = 6;
        item.itemState = ODS_SELECTED;
        item.hDC = &dc;
        item.rcItem = CRect(0, 0, 40, 16);
        combo.DrawItem(&item);
        item.itemID = 15; // beyond the table: a frame only
        item.itemState = 0;
        item.rcItem = CRect(0, 0, 40, 16);
    }
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(39, 15), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 255, 255)); // the gap between frame and swatch
    EXPECT_EQ(image.pixelColor(20, 8), QColor(0, 128, 128));  // teal inside
    EXPECT_NE(image.pixelColor(2, 2), QColor(0, 128, 128));   // focus rectangle on the swatch edge
}

TEST_F(ColorControlsTest, ColorStaticPaintsItsColour) {
    CStatic plain;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 30), &parent, 1501));
    CColorStatic swatch;
    ASSERT_TRUE(swatch.SubclassDlgItem(1501, &parent));
    EXPECT_EQ(swatch.GetStyle() & SS_TYPEMASK, static_cast<DWORD>(SS_OWNERDRAW));
    swatch.m_color = RGB(255, 0, 255);
    swatch.Invalidate();
    const QImage image = Grab(swatch);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(20, 10), QColor(255, 0, 255));
}

std::vector<std::uint8_t> Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

TEST_F(ColorControlsTest, TransparentStaticStretchesAndLeavesOutItsColour) {
    // 2 x 2: magenta (transparent) left column, blue right column.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixelColor(0, 0, QColor(255, 0, 255));
    picture.setPixelColor(0, 1, QColor(255, 0, 255));
    picture.setPixelColor(1, 0, QColor(0, 0, 255));
    picture.setPixelColor(1, 1, QColor(0, 0, 255));
    ResourceSet set;
    set.images[950] = ImageResource{950, false, Png(picture)};
    ScopedResourceModule scope(std::make_shared<CResourceModule>(std::move(set)));

    CTransparentStatic icon;
    ASSERT_TRUE(icon.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 10), &parent, 1502));
    EXPECT_FALSE(icon.LoadBitmap(951, RGB(255, 0, 255)));
    EXPECT_FALSE(icon.HasImage());
    ASSERT_TRUE(icon.LoadBitmap(950, RGB(255, 0, 255)));

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 10));
    {
        CDC dc(&image);
        icon.Paint(&dc, CRect(0, 0, 20, 10));
    }
    for (int y : {0, 5, 9}) {
        EXPECT_EQ(image.pixelColor(2, y), QColor(10, 200, 10)) << y; // background shows through
        EXPECT_EQ(image.pixelColor(8, y), QColor(10, 200, 10)) << y;
        EXPECT_EQ(image.pixelColor(12, y), QColor(0, 0, 255)) << y; // stretched over the right half
        EXPECT_EQ(image.pixelColor(19, y), QColor(0, 0, 255)) << y;
    }
}

} // namespace
