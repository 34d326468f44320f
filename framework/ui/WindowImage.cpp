#include "framework/ui/WindowImage.h"

#include "framework/ui/Wnd.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

bool RenderClientArea(CWnd* window, CBitmap& bitmap, int width, int height) {
    QWidget* widget = window ? window->GetWidget() : nullptr;
    if (!widget || width <= 0 || height <= 0)
        return false;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect client = widget->rect().intersected(QRect(0, 0, width, height));
    widget->render(&image, QPoint(0, 0), QRegion(client),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return bitmap.CreateFromImage(image);
}
