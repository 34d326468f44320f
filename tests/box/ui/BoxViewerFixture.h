#pragma once
// The box viewer opened by a stand-in view, linked to the simulated drive (with its machine, so
// the recorder takes samples) over a pseudo-terminal, with scripted messages and a private home.
// Include first: the acquisition store must come before any Qt-based header.
#include "trace/AcquisitionStore.h"

#include "box/ui/BOXDlg.h"
#include "box/ui/BoxPlot.h"
#include "box/ui/BoxViewLink.h"
#include "framework/core/Sync.h"
#include "link/services/RegisterServices.h"
#include "resources/ids/box.h"
#include "sim/SimMachine.h"
#include "tests/support/LinkedWindowFixture.h"
#include "tests/trace/TraceTestSupport.h"

#include <memory>
#include <string>
#include <vector>

struct BoxStandInView : IBoxViewLink {
    CRegisterServices& Services() override { return services; }
    CKeloServoDoc* Document() override { return document; }
    CSyncObject& LinkMutex() override { return mutex; }
    BoxKeptSettings& KeptSettings() override { return kept; }
    bool SettingsKept() const override { return keptFlag; }
    void SetSettingsKept() override { keptFlag = true; }
    void SetAlternateTraceRead(int value) override { alternateRead = value; }
    void SetBoxCapture(int value) override { boxCapture = value; }
    int StatusValueD4() override { return 55; }
    void OpenOnlineEditor(CWnd*) override { ++onlineEditorOpened; }
    void BoxWindowClosed(CBOXDlg* window) override { closed.push_back(window); }

    CRegisterServices services;
    CMutex mutex;
    CKeloServoDoc* document = nullptr;
    BoxKeptSettings kept;
    bool keptFlag = false;
    int alternateRead = -1, boxCapture = -1, onlineEditorOpened = 0;
    std::vector<CBOXDlg*> closed;
};

class BoxViewerFixture : public LinkedWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    CBOXDlg* Open();
    bool IsOpen() const { return !life_.expired(); }
    std::vector<std::string> Requests() const { return drive->RequestLog(); }
    std::vector<std::string> MessageTexts() const;
    static std::string Read1(unsigned address) { return tracetest::ReadFrame({address}); }
    static std::string Write1(unsigned address, unsigned value) {
        return tracetest::WriteFrame({{address, value}});
    }
    // Arms the recorder directly (sine on channel 1 at interval 50: 5 ms a sample) and lets the
    // machine run until the record is complete; an open viewer's ready poll then sees it.
    void RecordOnDrive(int interval = 50);
    // Trace Setting -> OK with these channel signals (the drive's registers stay as they are).
    void ConfirmSettings(std::array<int, 4> channelSignals);
    // Fires 1120, waits for the thread and fires 1140 until the run has ended.
    void RunRecordRead();
    // The client rectangle the plot's picture covers: it lands where caption 6016 says.
    CRect PictureRect() const {
        CRect label;
        viewer->GetDlgItem(IDC_BOX_LABEL1)->GetWindowRect(&label);
        viewer->ScreenToClient(&label);
        return CRect(CPoint(label.left + viewer->PlotLeft - 65, label.top + viewer->PlotTop - 34),
                     BoxPlotBufferSize(*viewer));
    }

    BoxStandInView view;
    std::unique_ptr<CSimMachine> machine;
    CBOXDlg* viewer = nullptr;
    std::weak_ptr<int> life_;
};
