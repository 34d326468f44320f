#pragma once
// The wizard's three value sets, the page choices it remembers, the DI/DO lists and how each step's
// Apply fills the collected values; the parameter list that Finish, Save and Write take. Pure.
//
// Page choices are remembered by name: a parameter's code for a whole value ("Cn005"), the code and
// a digit for one digit of a packed value ("Cn008.0"), or a name of the wizard's own ("GearMethod").
// A page copies them in before it is shown and back before its step is applied.
#include "catalogue/MotorTables.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CKeloServoDoc;

// DI function codes the wizard assigns (bits 0-7 of an Hn601..Hn612 word).
namespace DiFunction {
inline constexpr int POT = 4, NOT = 5, CLR = 7, SPD1 = 10, SPD2 = 11, INH = 13, SPDINV = 14, GN1 = 16,
                     GN2 = 17, SHOME = 20, ORG = 21, TRQINV = 26, RS1 = 27, RS2 = 28;
}
// DO function codes the wizard assigns (Hn613..Hn616, Hn619..Hn622).
namespace DoFunction {
inline constexpr int BI = 4, INP = 6, INT = 8;
}

inline constexpr int DiCount = 12;
inline constexpr int DoCount = 8;
// The Hn number (601..) of DO-1..DO-8.
int DoParamNumber(int doIndex);

// A function on a pin: number 0 = none, 1..12 (DI) or 1..8 (DO); contact 1 = B (acts when open).
struct DioAssignment {
    int function = 0;
    int number = 0;
    int contact = 0;
};

// One (code, value) pair of the parameter list.
struct WizardEntry {
    std::string code;
    int value;
};

// The step flags the parameter list depends on.
struct WizardStepFlags {
    bool referenceDone = false;
    bool encoderDone = false;
    bool comprehensiveDone = false;
};

class CollectedSet {
public:
    CollectedSet(int ratedSpeed, int encoderResolution, int maxTorque);

    // The creator's copy-in: the document's values and defaults.
    void CopyFromDocument(const CKeloServoDoc& doc);

    // Value of a code in one of the sets; nullptr for a code the set does not hold.
    int* Value(std::string_view code) { return Slot(values_, code); }
    int* Default(std::string_view code) { return Slot(Defaults(), code); }
    int* Document(std::string_view code) { return Slot(document_, code); }
    int ValueOr0(std::string_view code) const;
    int DefaultOr0(std::string_view code) const;

    WizardDefaultSet& Values() { return values_; }
    WizardDefaultSet& Defaults() { return motor_.m_CollectedDefaults; }
    const WizardDefaultSet& Defaults() const { return motor_.m_CollectedDefaults; }
    WizardDefaultSet& DocumentValues() { return document_; }
    MotorTables& Motor() { return motor_; }

    bool UseDefaults = false;

    // Remembered page choices.
    int Choice(std::string_view key) const;
    void SetChoice(std::string_view key, int value) { choices_[std::string(key)] = value; }
    const std::map<std::string, int, std::less<>>& Choices() const { return choices_; }

    // DI and DO lists and the remembered pin of each assignable function.
    std::array<int, DiCount> DiList{};
    std::array<int, DoCount> DoList{};
    DioAssignment DiOf(int function) const;
    DioAssignment DoOf(int function) const;

    // The digital I/O defaults of a mode, the lists from them (or the document) and the remembered
    // pins from the lists.
    void ResetDioForControlMode(int mode);
    // The remembered choices and the collected values from the defaults or the document.
    void InitCollectedValues();
    // The motor's defaults (Cn030 code, rated speed) with the current resolution and torque.
    void ApplyMotorDefaults(int code, int ratedSpeed) { motor_.ApplyMotorDefaults(code, ratedSpeed); }
    bool AbsoluteEncoderMotor() const { return motor_.m_AbsoluteEncoderMotor; }
    // The wizard's rated speed, encoder resolution and maximum torque.
    int RatedSpeedRpm() const { return motor_.m_RatedSpeed; }
    int EncoderResolution() const { return motor_.m_EncoderResolution; }
    int MaxTorque() const { return motor_.m_MaxTorque; }
    void SetMotor(int ratedSpeed, int maxTorque) {
        motor_.m_RatedSpeed = ratedSpeed;
        motor_.m_MaxTorque = maxTorque;
    }

    // Merges one Apply's assignments into the DI (DO) list, in order. `precedence` are functions
    // whose pins the others give way to (SPD1 and SPD2 unless said otherwise).
    void MergeDi(const std::vector<DioAssignment>& assignments, const std::vector<int>& precedence);
    void MergeDo(const std::vector<DioAssignment>& assignments);
    void WriteDiListToValues();
    void WriteDoListToValues();
    // Reloads the lists (and remembered pins) as the mode's reset does, without touching the defaults.
    void ReloadDiList();
    void ReloadDoList();

    // Step Apply. A digit choice outside 0..15 (a radio group or combo without a choice) refuses
    // the Apply: the key of the first such choice comes back and nothing changed.
    std::optional<std::string> ApplyControlMode(int mode);
    std::optional<std::string> ApplyEncoder(int mode, const std::vector<DioAssignment>& pageDi,
                                            bool reapplied);
    std::optional<std::string> ApplyComprehensive(const std::vector<DioAssignment>& pageDo, bool reapplied);

    // The (code, value) pairs for Finish and Write, in their fixed order.
    std::vector<WizardEntry> WizardParameterList(int mode, const WizardStepFlags& flags) const;

    // Finish into the document: values (and, offline, defaults and motor globals); each value that
    // changes is marked through markChanged (the caller clears the marks first).
    void Finish(CKeloServoDoc& doc, const std::function<void(std::string_view code)>& markChanged,
                bool linked, int mode, const WizardStepFlags& stepFlags) const;

    // The capacity class the offline Finish gives DriveCapacityIndex for a Cn030 value.
    static int CapacityClass(int cn030, bool seriesHasFeature);

    static int* Slot(WizardDefaultSet& set, std::string_view code);

private:
    const WizardDefaultSet& Source() const { return UseDefaults ? Defaults() : document_; }
    std::optional<std::string> UnsetDigit(std::initializer_list<const char*> keys) const;
    void MergeInto(int* list, int count, std::map<int, DioAssignment>& pins,
                   const std::vector<DioAssignment>& assignments, const std::vector<int>& precedence);

    MotorTables motor_;
    WizardDefaultSet values_;
    WizardDefaultSet document_;
    std::map<std::string, int, std::less<>> choices_;
    std::map<int, DioAssignment> diPins_;
    std::map<int, DioAssignment> doPins_;
};
