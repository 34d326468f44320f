#pragma once
#include "controls/QTREdit.h"

// A signed decimal number; a negative maxWholeDigits forbids the sign (its magnitude is the limit).
class CQTRNumericEdit : public CQTREdit {
public:
    CQTRNumericEdit(int maxWholeDigits, int maxDecimalPlaces)
        : CQTREdit(EditKind::Numeric, {}, maxWholeDigits, maxDecimalPlaces) {}
    NumericBehavior& Behavior() { return *Rules().Numeric(); }
};
