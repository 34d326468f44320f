#pragma once
#include "controls/QTRMaskedEdit.h"

// Fixed-point entry with a mask such as "####.#": decimal digits at the '#' places; a point typed
// early pads the whole part with zeros.
class CQTRMaskedDOTEdit : public CQTRMaskedEdit {
public:
    explicit CQTRMaskedDOTEdit(const std::string& mask = {}) : CQTRMaskedEdit(EditKind::MaskedDot, mask) {}
};
