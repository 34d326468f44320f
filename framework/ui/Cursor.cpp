#include "framework/ui/Cursor.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <array>
#include <utility>

namespace {
constexpr std::array<CursorShape, 13> kShapes{{{IDC_ARROW},
                                               {IDC_IBEAM},
                                               {IDC_WAIT},
                                               {IDC_CROSS},
                                               {IDC_UPARROW},
                                               {IDC_SIZENWSE},
                                               {IDC_SIZENESW},
                                               {IDC_SIZEWE},
                                               {IDC_SIZENS},
                                               {IDC_SIZEALL},
                                               {IDC_NO},
                                               {IDC_HAND},
                                               {IDC_APPSTARTING}}};
HCURSOR current = nullptr;

Qt::CursorShape QtShape(int id) {
    switch (id) {
    case IDC_IBEAM:
        return Qt::IBeamCursor;
    case IDC_WAIT:
        return Qt::WaitCursor;
    case IDC_CROSS:
        return Qt::CrossCursor;
    case IDC_UPARROW:
        return Qt::UpArrowCursor;
    case IDC_SIZENWSE:
        return Qt::SizeFDiagCursor;
    case IDC_SIZENESW:
        return Qt::SizeBDiagCursor;
    case IDC_SIZEWE:
        return Qt::SizeHorCursor;
    case IDC_SIZENS:
        return Qt::SizeVerCursor;
    case IDC_SIZEALL:
        return Qt::SizeAllCursor;
    case IDC_NO:
        return Qt::ForbiddenCursor;
    case IDC_HAND:
        return Qt::PointingHandCursor;
    case IDC_APPSTARTING:
        return Qt::BusyCursor;
    default:
        return Qt::ArrowCursor;
    }
}
} // namespace

HCURSOR LoadCursor(const void*, int id) {
    return LoadStandardCursor(id);
}

HCURSOR LoadStandardCursor(int id) {
    for (const CursorShape& shape : kShapes)
        if (shape.id == id)
            return &shape;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = std::exchange(current, cursor);
    if (QApplication::instance())
        if (QWidget* under = QApplication::widgetAt(QCursor::pos()))
            under->setCursor(cursor ? QtShape(cursor->id) : Qt::ArrowCursor);
    return previous;
}

HCURSOR GetCursor() {
    return current;
}
