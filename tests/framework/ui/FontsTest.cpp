// The faces the templates name: Tahoma where the templates' fonts are installed, with the dialog
// base units the templates are laid out for, and the desktop's sans face where they are not.
#include "UiTestSupport.h"

#include "framework/core/Paths.h"
#include "framework/ui/Dialog.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/WndInternal.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// ctest runs the fit checks once more with KELO_FONT_DIRS set empty: the fallback.
bool FallbackRun() {
    const char* dirs = std::getenv("KELO_FONT_DIRS");
    return dirs && !*dirs;
}

TEST(TemplateFonts, DialogFacesDrawWithTahomaAndItsBaseUnits) {
    EnsureQtApplication();
    if (FallbackRun()) {
        EXPECT_TRUE(TemplateFontFiles().empty());
        EXPECT_FALSE(TemplateFaceAvailable());
        EXPECT_EQ(FamilyOfFace("MS Shell Dlg"), "Sans Serif");
        EXPECT_NE(QFontInfo(QFont(FamilyOfFace("MS Shell Dlg"))).family(), "Tahoma");
        return;
    }
    ASSERT_TRUE(TemplateFaceAvailable()) << "no Tahoma: scripts/setup installs fonts-wine";
    const std::pair<const char*, const char*> faces[] = {
        {"MS Shell Dlg", "Tahoma"}, {"MS Shell Dlg 2", "Tahoma"},       {"", "Tahoma"},
        {"tahoma", "Tahoma"},       {"MS Sans Serif", "MS Sans Serif"}, {"Courier New", "Courier New"},
        {"Arial", "Arial"},
    };
    for (const auto& [face, family] : faces)
        EXPECT_EQ(FamilyOfFace(face).toStdString(), family) << face;
    EXPECT_EQ(QFontInfo(QFont(FamilyOfFace("MS Shell Dlg"))).family(), "Tahoma") << "registered and drawn";
    // Tahoma 8 pt at 96 dpi: 6 x 13 pixels a base unit, as the templates' platform gives it.
    const DialogBaseUnits units = BaseUnitsOfFont("MS Shell Dlg", 8);
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 13);
    // A painter's font names the face as well.
    LOGFONT lf{};
    lf.lfHeight = -11;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
    EXPECT_EQ(QFontInfo(QFontFromLogFont(lf)).family(), "Tahoma");

    // A painter asking for Tahoma's own cell (13) and average width (5) gets it unsqueezed: the cell
    // from the Windows metrics, the width from the letters rather than from every glyph.
    LOGFONT label{};
    label.lfHeight = 13;
    label.lfWidth = 5;
    std::snprintf(label.lfFaceName, sizeof label.lfFaceName, "%s", "Tahoma");
    const QFont painted = QFontOfLogFont(label);
    EXPECT_EQ(painted.pixelSize(), 11);
    EXPECT_NEAR(painted.stretch(), 100, 5);
}

// Dialog units become pixels rounded to the nearest, halves away from zero.
TEST(TemplateFonts, DialogUnitsRoundToTheNearestPixel) {
    const DialogBaseUnits base{6, 13};
    const CRect pixels = DialogUnitsToPixels(CRect(1, 3, 18, 11), base);
    EXPECT_EQ(pixels, CRect(2, 5, 27, 18)); // 1.5, 4.875, 27, 17.875
    EXPECT_EQ(DialogUnitsToPixels(CRect(-1, -3, 35, 8), base), CRect(-2, -5, 53, 13));
}

} // namespace
