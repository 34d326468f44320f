#include "controls/Beep.h"

#include <QApplication>

namespace {
std::function<void(unsigned)>& Hook() {
    static std::function<void(unsigned)> hook;
    return hook;
}
} // namespace

void ControlBeep(unsigned type) {
    if (Hook())
        Hook()(type);
    else
        QApplication::beep();
}

std::function<void(unsigned)> SetControlBeepHook(std::function<void(unsigned)> hook) {
    std::function<void(unsigned)> old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}
