#pragma once
// The faces the dialog templates and painted labels name. Their layouts assume Tahoma 8 pt; the
// metric-compatible free Tahoma (and MS Sans Serif) are registered with the application at start.
// Without them the desktop's sans face stands in, as before.
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

// The widget style of the program: the desktop's, with a push button's text kept off its frame by
// as little as the templates' platform keeps it, so a short text in a narrow template button (a
// "->0" of 17 dialog units) is not cut.
void InstallTemplateStyle();
