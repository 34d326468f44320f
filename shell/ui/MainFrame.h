#pragma once
// CMainFrame: the program's main window with its toolbar and nine-pane status bar showing the
// drive's state. It follows the drive's port being unplugged and plugged in again, asks for the
// paths of parameter documents, writes the settings file when it closes, and closes the drive port
// when it goes.
#include "framework/ui/Frame.h"
#include "framework/ui/Gdi.h"
#include "framework/ui/StatusBar.h"
#include "framework/ui/ToolBar.h"
#include "shell/StatusPanes.h"

#include <cstdint>
#include <string>

constexpr int StatusPaneCount = 9;

class CKeloServoView;

class CMainFrame : public CMDIFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;
    const MessageMap* GetMessageMap() const override;

    // Open and save dialogs of the parameter document; the chosen path is kept as the frame's
    // document path. False when cancelled.
    bool PromptOpenPath();
    bool PromptSavePath();
    const std::string& StoredPath() const { return storedPath_; }
    void SetStoredPath(const std::string& path) { storedPath_ = path; }
    // The file name part of the stored path.
    std::string GetCurrentFileName() const;

    // Status-bar panes 0..8.
    void LayoutStatusPane(int pane);
    void RefreshStatusPane(int pane);
    void RefreshStatusPanes(int first, int last);
    void FormatStatusPane(int kind, int pane);
    // The screen width the pane widths follow (0: the primary screen's).
    int ScreenWidth() const;
    void SetScreenWidthForTesting(int width) { screenWidth_ = width; }

    CKeloServoView* ActiveKeloView() const;

private:
    // The bar draws with the system's status font (the default GUI face), the face its pane widths
    // were made for; declared before the bar, which keeps a pointer to it.
    CFont statusFont_;

public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

    // Message handlers.
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    void OnClose();
    void OnDestroy();
    BOOL OnDeviceChange(UINT event, std::uintptr_t data);
    void OnLinkPaneDoubleClick();

private:
    void OnPortRemoved(const std::string& port);
    void OnPortArrived(const std::string& port);
    std::string storedPath_;
    int screenWidth_ = 0;
};
