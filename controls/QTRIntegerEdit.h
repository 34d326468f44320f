#pragma once
#include "controls/QTREdit.h"

// A signed whole number of at most maxWholeDigits digits (negative: no sign allowed).
class CQTRIntegerEdit : public CQTREdit {
public:
    explicit CQTRIntegerEdit(int maxWholeDigits = 9) : CQTREdit(EditKind::Integer, {}, maxWholeDigits, 0) {}
    NumericBehavior& Behavior() { return *Rules().Numeric(); }
};
