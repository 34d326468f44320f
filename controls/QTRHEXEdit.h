#pragma once
#include "controls/QTRMaskedEdit.h"

// Hexadecimal entry: hex digits fill the digit places of its mask ("####", "########"), as typed,
// pasted or set by the program.
class CQTRHEXEdit : public CQTRMaskedEdit {
public:
    explicit CQTRHEXEdit(const std::string& mask = {}) : CQTRMaskedEdit(EditKind::Hex, mask) {}
};
