#pragma once
// Runs the special editor of one parameter as the parameter editor's edit command does: picks the
// editor by the row's code, gives it the members it takes, shows it modally and hands back the value
// OK confirmed. The caller decides what a changed value means for its table and document.
#include "valueedit/EditDispatch.h"

#include <optional>
#include <string>

struct ValueEditRequest {
    std::string rowCode;   // the code as the row shows it
    std::string title;     // the row's name
    std::string unit;      // the row's unit
    std::string rangeText; // the catalogue's range text, without parentheses
    int min = 0;
    int max = 0;
    int value = 0;
};

struct ValueEditOutcome {
    ValueEditorKind editor = ValueEditorKind::None;
    // The value OK confirmed; nothing after Cancel or when no editor opens.
    std::optional<int> value;
    // OK with a value that differs from the one passed in (and the editor's value counts).
    bool changed = false;
};

ValueEditOutcome RunValueEditor(const ValueEditRequest& request);
