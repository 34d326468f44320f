#pragma once
// The wizard's Save: a document file holding the collected values, in the document's own archive
// layout. The bytes are the document's own store with the wizard's groups in place, so the file is
// exactly what the document would save with those values; the file is written beside its target
// and renamed over it, so a failed write leaves an older file whole.
#include <string>

class CKeloServoDoc;
class CollectedSet;

// The archive bytes. The document is left as it was.
std::string WizardSaveBytes(CKeloServoDoc& doc, const CollectedSet& set);
// Writes them to path; false with the reason in *error.
bool WriteWizardDocument(const std::string& path, CKeloServoDoc& doc, const CollectedSet& set,
                         std::string* error = nullptr);
