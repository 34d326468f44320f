#pragma once
// The faces the dialog templates and painted labels name. Their layouts assume Tahoma 8 pt; the
// metric-compatible free Tahoma (and MS Sans Serif) are registered with the application at start.
// Without them the desktop's sans face stands in, as before.
#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <string>

// Registers the template faces' font files with the application; done once, later calls answer the
// first result. True when Tahoma can be drawn.
bool RegisterTemplateFonts();

// Whether Tahoma is available to draw with (after RegisterTemplateFonts).
bool TemplateFaceAvailable();

// The family to ask Qt for when a template or a painter names `face`: the dialog faces ("MS Shell
// Dlg", "MS Shell Dlg 2", "System", none) and Tahoma come out as Tahoma, "MS Sans Serif" as itself;
// either as the desktop's sans face when the font is missing. Other faces are asked for by name.
QString FamilyOfFace(const std::string& face);

// The cell height (ascent plus descent) the templates' platform gives `font`: the Windows ascent and
// descent of its OS/2 table. Qt follows the typographic metrics where a font asks for them, which
// makes Tahoma shorter than its templates and painters expect. A font without a usable table keeps
// Qt's height. The rounded form rounds ascent and descent each, as dialog base units take it.
double TemplateCellHeightF(const QFont& font);
int TemplateCellHeight(const QFont& font);

// The average character width the templates' platform reports for a font (a LOGFONT's width asks
// for it): the lower-case letters and the space weighted by their frequency in English, as the
// classic OS/2 table defines it. Newer tables average every glyph, which gives the free Tahoma a
// third more and would squeeze a font asked for at its own width.
double TemplateAverageCharWidth(const QFontMetricsF& metrics);

// The widget style of the program: the desktop's, with a push button's text kept off its frame by
// as little as the templates' platform keeps it, so a short text in a narrow template button (a
// "->0" of 17 dialog units) is not cut.
void InstallTemplateStyle();
