#pragma once
// The masked fields' shared window: a mask whose '#' places take digits and whose other characters
// are literals that must stand at their places.
#include "controls/QTREdit.h"

class CQTRMaskedEdit : public CQTREdit {
public:
    // A new mask; the text is brought in line with it.
    void SetMask(const std::string& mask) { Rules().Masked()->SetMask(mask); }
    std::string GetMask() const { return FromEditText(Rules().Masked()->GetMask()); }

protected:
    CQTRMaskedEdit(EditKind kind, const std::string& mask) : CQTREdit(kind, mask) {}
};
