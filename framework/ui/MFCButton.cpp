#include "framework/ui/MFCButton.h"

#include "framework/ui/Gdi.h"

#include <QWidget>

void CMFCButton::SetFaceColor(COLORREF colour, BOOL redraw) {
    face_ = colour;
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Button, ToQColor(colour));
    palette.setColor(QPalette::Window, ToQColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    if (redraw)
        widget->update();
}

void CMFCButton::SetTextColor(COLORREF colour) {
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, ToQColor(colour));
    widget->setPalette(palette);
}
