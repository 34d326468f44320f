#pragma once
// What the position tool windows need of the view: its register services, its document and word
// when a window it keeps has closed (it then forgets the window and its open flag).
class CKeloServoDoc;
class CRegisterServices;
class CWnd;

class IPositionToolsLink {
public:
    virtual ~IPositionToolsLink() = default;
    virtual CRegisterServices& Services() = 0;
    virtual CKeloServoDoc* Document() = 0;
    virtual void ToolWindowClosed(CWnd* window) = 0;
};
