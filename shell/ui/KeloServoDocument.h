#pragma once
// The framework document of the program: the parameter document CKeloServoDoc as a framework
// document, opened and saved through the main frame's file dialogs, asking its own question before
// unsaved changes are lost.
#include "catalogue/KeloServoDoc.h"
#include "framework/ui/Doc.h"

class CKeloServoView;

// The document asks the program through its own host from the moment it exists (a file is read
// before the view's initial update); the host answers through the document's view when it has one.
class CKeloServoDocument : public CDocument, public CKeloServoDoc, private DocumentHost {
public:
    CKeloServoDocument();

    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void Serialize(CArchive& archive) override;

    bool IsModified() override { return CKeloServoDoc::IsModified(); }
    void SetModifiedFlag(bool modified = true) override;

    // The program's question; a save that fails counts as Cancel, so nothing is lost.
    bool SaveModified() override;
    // Save under the frame's path (Save) or a newly chosen one (Save As, or when there is none).
    bool DoSave(const std::string& path, bool replace = true) override;
    bool DoFileSave() override;

    CKeloServoView* View() const;

private:
    // The view that answers for the document: its own, or while it has none the active one.
    CKeloServoView* HostView() const;
    // DocumentHost
    bool IsConnected() const override;
    bool ReadRegister(int address, int& value) override;
    void FillContext(CatalogueContext& context) const override;
    void OnSeriesChanged(int seriesCode) override;
    bool DocumentGiven() const override;
    bool StartNewInstance() override;
};
