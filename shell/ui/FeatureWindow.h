#pragma once
// How the view shows a feature window it made with new.
#include "framework/ui/Wnd.h"

// Creates the window and shows it. A window that could not be created is not kept: the view would
// otherwise hold a pointer to a window that never existed.
template <class Window, class Create>
bool CreateFeatureWindow(Window*& pointer, Window* window, Create create) {
    pointer = window;
    if (create()) {
        window->ShowWindow(SW_SHOW);
        return true;
    }
    pointer = nullptr;
    if (!IsWindow(window->GetSafeHwnd()))
        delete window;
    return false;
}
