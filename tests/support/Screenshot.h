#pragma once
// Saves what a window shows as <folder>/<name>.png when KELO_SCREENSHOT_DIR names a folder, so a
// person can look at the windows the tests drive; does nothing otherwise.
#include "framework/ui/Wnd.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdlib>
#include <string>

namespace ui {

inline void Screenshot(CWnd& window, const std::string& name) {
    const char* folder = std::getenv("KELO_SCREENSHOT_DIR");
    if (!folder || !*folder || !window.GetWidget())
        return;
    window.GetWidget()->grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

} // namespace ui
