#include "framework/ui/SystemInfo.h"

#include <QGuiApplication>
#include <QScreen>

bool SystemParametersInfo(unsigned action, unsigned, void* param, unsigned) {
    if (action != SPI_GETWORKAREA || !param)
        return false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect area = screen->availableGeometry();
    *static_cast<CRect*>(param) =
        CRect(area.x(), area.y(), area.x() + area.width(), area.y() + area.height());
    return true;
}
