#pragma once
// What the alarm monitor shows for the ten alarm history rows: the number column as the monitor
// cycle formatted it, the alarm's name and the colours of both columns. Pure; the window puts the
// texts into its statics and the colours into its control colouring.
#include "catalogue/ParamTexts.h"
#include "framework/core/Geometry.h"

#include <array>
#include <string>

constexpr int AlarmRowCount = 10; // row 0: current alarm, rows 1..9: past alarms

constexpr COLORREF AlarmNumberColour = RGB(0, 0, 255);
constexpr COLORREF AlarmActiveColour = RGB(255, 0, 0);   // a row holding an alarm
constexpr COLORREF AlarmIdleColour = RGB(128, 128, 128); // code 0: no alarm

// String id of the alarm's name (the same table the status bar's message pane uses); 0 when the
// code has none.
int AlarmNameStringId(int code);
// The alarm's name; "-----" for a code without one.
std::string AlarmName(int code, const StringLoader& load);
// Colour of the row's name: grey for code 0, red for every other code (unknown ones included).
COLORREF AlarmNameColour(int code);

// The texts of the window's two columns.
class AlarmMonitorRows {
public:
    // A new window: every number "00" and every name "   Normal".
    explicit AlarmMonitorRows(const StringLoader& load);

    // The history the monitor cycle read, with its number texts ("%02d" of each code).
    void SetHistory(const std::array<int, AlarmRowCount>& codes,
                    const std::array<std::string, AlarmRowCount>& numberTexts);
    // Re-reads every row's name from its code (three spaces, then the name).
    void UpdateNames(const StringLoader& load);

    const std::array<int, AlarmRowCount>& Codes() const { return codes_; }
    const std::array<std::string, AlarmRowCount>& NumberTexts() const { return numberTexts_; }
    const std::array<std::string, AlarmRowCount>& NameTexts() const { return nameTexts_; }
    COLORREF NameColour(int row) const;

private:
    std::array<int, AlarmRowCount> codes_{};
    std::array<std::string, AlarmRowCount> numberTexts_;
    std::array<std::string, AlarmRowCount> nameTexts_;
};
