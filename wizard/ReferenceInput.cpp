// The reference-input step plugged into the wizard: its page chains with their checks, and the
// values its Apply takes from the remembered page choices, by control mode. The DI/DO merges and list
// writes are the wizard's.
#include "wizard/ReferenceInput.h"

#include "wizard/CollectedSet.h"
#include "wizard/ReferenceChains.h"
#include "wizard/WizardBlocks.h"
#include "wizard/WizardNavigation.h"

#include <initializer_list>

namespace {

ReferenceChoices ChoicesOf(const ChoiceReader& read) {
    ReferenceChoices choices;
    choices.speedAccelMethod = read("Sn205.0");
    choices.gearMethod = read("GearMethod");
    choices.homeStartMode = read("Pn317.2");
    choices.homeMethod = read("Pn355");
    choices.homeReference = read("Pn317.0");
    choices.torqueSource = read("Tn101.1");
    choices.torqueAccelMethod = read("Tn101.0");
    choices.limitSwitching = read("Tn101.2");
    return choices;
}

} // namespace

void AddReferenceChains(WizardChains& chains) {
    for (int code = 30; code <= 79; ++code) {
        // Codes that name a page answer a successor, a predecessor or both (the first pages only a
        // successor); the rest are gaps in the numbering.
        const bool page = (code >= 31 && code <= 37) || (code >= 40 && code <= 56) || code == 60 ||
                          (code >= 62 && code <= 69) || code == 71 || code == 72;
        if (!page)
            continue;
        ChainPage entry;
        entry.code = code;
        entry.checked = ReferencePageHasCheck(code);
        // The torque speed-limit page may end the step; its values are checked before Apply too.
        entry.checkedOnApply = code == 69;
        entry.next = [code](const ChoiceReader& read) { return NextReferencePage(code, ChoicesOf(read)); };
        entry.back = [code](const ChoiceReader& read) {
            return PreviousReferencePage(code, ChoicesOf(read));
        };
        chains.Add(std::move(entry));
    }
    for (int mode : {TorqueMode, SpeedMode, PositionMode})
        chains.SetFirstPage(WizardStep::Reference, mode, FirstReferencePage(mode, ReferenceChoices{}));
}

namespace {

class ReferenceTake {
public:
    explicit ReferenceTake(CollectedSet& set) : set_(set) {}

    // A digit choice outside 0..15 (a radio group or combo without a choice) refuses the Apply.
    std::optional<std::string> Unset(std::initializer_list<const char*> keys) const {
        for (const char* key : keys) {
            const int choice = set_.Choice(key);
            if (choice < 0 || choice > 15)
                return std::string(key);
        }
        return std::nullopt;
    }
    void Set(const char* code, int value) { *set_.Value(code) = value; }
    void FromChoice(const char* code) { *set_.Value(code) = set_.Choice(code); }
    void FromDefault(const char* code) { *set_.Value(code) = set_.DefaultOr0(code); }
    void Digit(const char* code, int digit, int value) {
        *set_.Value(code) = WithDigit(set_.ValueOr0(code), digit, value);
    }
    void DigitFromChoice(const char* code, int digit) {
        Digit(code, digit, set_.Choice(std::string(code) + "." + std::to_string(digit)));
    }
    int Choice(const char* key) const { return set_.Choice(key); }

private:
    CollectedSet& set_;
};

std::optional<std::string> TakePosition(ReferenceTake& take) {
    if (auto unset =
            take.Unset({"Pn301.0", "Pn301.1", "Pn301.2", "Pn301.3", "Pn332.3", "Pn315.0", "Pn317.2"}))
        return unset;
    const int startMode = take.Choice("Pn317.2");
    const bool homing = startMode != 0;
    const bool byPn317 = homing && take.Choice("Pn355") == 0;
    if (homing) {
        if (auto unset = take.Unset({"Pn315.1"}))
            return unset;
        if (byPn317) {
            if (auto unset = take.Unset({"Pn317.0", "Pn317.1", "Pn317.3"}))
                return unset;
        }
    }
    for (int digit = 0; digit < 4; ++digit)
        take.DigitFromChoice("Pn301", digit);
    take.DigitFromChoice("Pn332", 3);
    take.FromChoice("Pn356");
    const char* gear[] = {"Pn302", "Pn303", "Pn304", "Pn305", "Pn306"};
    if (take.Choice("GearMethod") == 1) {
        for (const char* code : gear)
            take.FromChoice(code);
        take.FromDefault("Pn354");
    } else {
        take.FromChoice("Pn354");
        for (const char* code : gear)
            take.FromDefault(code);
    }
    take.FromChoice("Pn313");
    take.FromChoice("Pn329");
    take.FromChoice("Pn330");
    take.DigitFromChoice("Pn315", 0);
    const char* origin[] = {"Pn318", "Pn319", "Pn320", "Pn321", "Pn361", "Pn362"};
    if (!homing) {
        take.Set("Pn317", 0);
        take.Set("Pn355", 0);
        take.Digit("Pn315", 1, 0);
        for (const char* code : origin)
            take.FromDefault(code);
    } else {
        take.Digit("Pn317", 2, startMode);
        take.FromChoice("Pn355");
        for (const char* code : origin)
            take.FromChoice(code);
        take.DigitFromChoice("Pn315", 1);
        for (int digit : {0, 1, 3}) {
            if (byPn317)
                take.DigitFromChoice("Pn317", digit);
            else
                take.Digit("Pn317", digit, 0);
        }
    }
    take.FromChoice("Pn307");
    take.FromChoice("Pn308");
    take.FromChoice("Pn309");
    return std::nullopt;
}

std::optional<std::string> TakeSpeed(ReferenceTake& take) {
    if (auto unset = take.Unset({"Sn205.0", "Sn204.0"}))
        return unset;
    take.FromChoice("Sn216");
    take.FromChoice("Sn218");
    for (const char* code : {"Sn201", "Sn202", "Sn203"})
        take.FromChoice(code);
    const int method = take.Choice("Sn205.0");
    take.Digit("Sn205", 0, method);
    const auto fromPage = [&](const char* code, bool taken) {
        taken ? take.FromChoice(code) : take.FromDefault(code);
    };
    fromPage("Sn206", method == 1);
    fromPage("Sn207", method == 2);
    fromPage("Sn208", method == 3);
    fromPage("Sn209", method == 3);
    fromPage("Sn210", method == 3);
    take.FromChoice("Sn215");
    take.DigitFromChoice("Sn204", 0);
    return std::nullopt;
}

std::optional<std::string> TakeTorque(ReferenceTake& take) {
    if (auto unset = take.Unset({"Tn101.0", "Tn101.1", "Tn101.2"}))
        return unset;
    for (int digit = 0; digit < 3; ++digit)
        take.DigitFromChoice("Tn101", digit);
    const auto fromPage = [&](const char* code, bool taken) {
        taken ? take.FromChoice(code) : take.FromDefault(code);
    };
    const bool digital = take.Choice("Tn101.1") == 1;
    fromPage("Tn113", digital);
    fromPage("Tn103", !digital);
    take.FromChoice("Cn010");
    take.FromChoice("Cn011");
    const int method = take.Choice("Tn101.0");
    fromPage("Tn102", method == 1 || method == 3);
    fromPage("Tn110", method == 2);
    fromPage("Tn117", method == 3);
    take.FromChoice("Tn108");
    const bool byTorqueSign = take.Choice("Tn101.2") == 1;
    fromPage("Tn114", byTorqueSign);
    fromPage("Tn115", byTorqueSign);
    fromPage("Tn109", !byTorqueSign);
    for (const char* code : {"Tn105", "Tn106", "Tn107"})
        fromPage(code, !byTorqueSign);
    return std::nullopt;
}

} // namespace

std::optional<std::string> TakeReferenceValues(CollectedSet& set, int mode) {
    ReferenceTake take(set);
    switch (mode) {
    case PositionMode:
        return TakePosition(take);
    case SpeedMode:
        return TakeSpeed(take);
    case TorqueMode:
        return TakeTorque(take);
    default:
        return std::nullopt;
    }
}
