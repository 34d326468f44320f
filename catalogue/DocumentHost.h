#pragma once
// What the parameter document needs of the program around it: the link state, single register
// reads, the words of the catalogue context it does not own, and the window-side effects of loading
// a document of another series. The shell implements it; the default answers "not connected".
#include "catalogue/CatalogueContext.h"

class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual bool IsConnected() const { return false; }
    // Reads one drive register through the register services; false when the read failed.
    virtual bool ReadRegister(int /*address*/, int& /*value*/) { return false; }
    // Fills what the document does not own (link, drive id word, brand mode, Project Mode).
    virtual void FillContext(CatalogueContext& context) const { context.connected = IsConnected(); }

    // A document of another series was loaded while no drive was connected: retitle the main window
    // for the series, unlink the view and refresh the status bar.
    virtual void OnSeriesChanged(int /*seriesCode*/) {}
    // Clears the three tables of the comparison runs and the word that follows the drive id word.
    virtual void ClearComparisonTables() {}

    // Whether the program was started with a document on its command line.
    virtual bool DocumentGiven() const { return false; }
    // Starts a fresh instance of the program (which reads the hand-off file); false when it failed.
    virtual bool StartNewInstance() { return false; }
};

// The host used while no other is installed.
DocumentHost& DefaultDocumentHost();
