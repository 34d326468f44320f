#include "wizard/CollectedSet.h"

#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "framework/core/Format.h"
#include "wizard/WizardBlocks.h"
#include "wizard/WizardNavigation.h"

#include <algorithm>

namespace {

// Digital I/O defaults by control mode: Hn601..Hn612, then DO-1..DO-8.
constexpr int kDioDefaults[3][DiCount + DoCount] = {
    {0x01, 0x02, 0x03, 0x104, 0x105, 0x1B, 0x1C, 0x1A, 0x09, 0x0A,
     0x0B, 0x0C, 0x01, 0x02,  0x08,  0x05, 0x15, 0x16, 0x11, 0x17},
    {0x01, 0x02, 0x03, 0x104, 0x105, 0x06, 0x0E, 0x08, 0x09, 0x0A,
     0x0B, 0x0C, 0x01, 0x02,  0x03,  0x05, 0x15, 0x16, 0x11, 0x17},
    {0x01, 0x02, 0x03, 0x104, 0x105, 0x06, 0x07, 0x0D, 0x09, 0x14,
     0x15, 0x0C, 0x01, 0x02,  0x07,  0x06, 0x15, 0x16, 0x11, 0x17},
};

constexpr int kDiFunctions[] = {DiFunction::POT,  DiFunction::NOT,   DiFunction::CLR,    DiFunction::SPD1,
                                DiFunction::SPD2, DiFunction::INH,   DiFunction::SPDINV, DiFunction::GN1,
                                DiFunction::GN2,  DiFunction::SHOME, DiFunction::ORG,    DiFunction::TRQINV,
                                DiFunction::RS1,  DiFunction::RS2};
constexpr int kDoFunctions[] = {DoFunction::BI, DoFunction::INP, DoFunction::INT};

// Choices remembered as whole values.
constexpr const char* kWholeChoices[] = {
    "Cn005", "Cn012", "Cn089", "Sn216", "Sn218", "Cn010", "Cn011", "Tn109", "Sn201", "Sn202",
    "Sn203", "Sn206", "Sn207", "Sn208", "Sn209", "Sn210", "Sn215", "Cn003", "Pn356", "Pn354",
    "Pn302", "Pn303", "Pn304", "Pn305", "Pn306", "Pn313", "Pn329", "Pn330", "Pn355", "Pn318",
    "Pn319", "Pn320", "Pn321", "Pn361", "Pn362", "Pn307", "Pn308", "Pn309", "Tn113", "Tn103",
    "Tn102", "Tn110", "Tn117", "Tn108", "Tn114", "Tn115", "Tn105", "Tn106", "Tn107"};
// Packed values whose digits 0..3 are remembered one by one ("Cn008.1").
constexpr const char* kDigitChoices[] = {"Sn205", "Sn204", "Pn316", "Cn004", "Cn008", "Cn031", "Cn002",
                                         "Pn301", "Pn332", "Pn315", "Pn317", "Pn355", "Pn314", "Tn101"};

bool BrakeTakesOutput(int brakeMode) {
    return brakeMode == 1 || brakeMode == 3 || brakeMode == 5;
}

std::string DigitKey(const char* code, int digit) {
    return std::string(code) + "." + std::to_string(digit);
}

void ScanPins(const int* list, int count, const int* functions, int functionCount,
              std::map<int, DioAssignment>& pins) {
    pins.clear();
    for (int f = 0; f < functionCount; ++f)
        pins[functions[f]] = {functions[f], 0, 0};
    // From the last pin down: the lowest-numbered pin that carries a function wins.
    for (int i = count - 1; i >= 0; --i) {
        auto it = pins.find(list[i] & 0xFF);
        if (it != pins.end())
            it->second = {it->first, i + 1, (list[i] >> 8) & 1};
    }
}

} // namespace

int DoParamNumber(int doIndex) {
    return doIndex < 4 ? 613 + doIndex : 619 + (doIndex - 4);
}

CollectedSet::CollectedSet(int ratedSpeed, int encoderResolution, int maxTorque)
    : motor_(ratedSpeed, encoderResolution, maxTorque) {}

int* CollectedSet::Slot(WizardDefaultSet& set, std::string_view code) {
    struct Group {
        std::string_view prefix;
        int* first;
        int size;
    };
    const Group groups[] = {{"onC", set.onC, 69}, {"Cn", set.Cn, 99}, {"Tn", set.Tn, 18}, {"Sn", set.Sn, 29},
                            {"Pn", set.Pn, 85},   {"qn", set.qn, 7},  {"Hn", set.Hn, 24}, {"tn", set.tn, 63}};
    for (const Group& g : groups) {
        if (code.size() <= g.prefix.size() || code.substr(0, g.prefix.size()) != g.prefix)
            continue;
        const std::optional<int> whole = ParseInt(code.substr(g.prefix.size()));
        if (!whole || *whole < 0)
            return nullptr;
        const int number = *whole % 100;
        return number >= 1 && number <= g.size ? g.first + number - 1 : nullptr;
    }
    return nullptr;
}

int CollectedSet::ValueOr0(std::string_view code) const {
    const int* slot = Slot(const_cast<WizardDefaultSet&>(values_), code);
    return slot ? *slot : 0;
}

int CollectedSet::DefaultOr0(std::string_view code) const {
    const int* slot = Slot(const_cast<WizardDefaultSet&>(Defaults()), code);
    return slot ? *slot : 0;
}

void CollectedSet::CopyFromDocument(const CKeloServoDoc& doc) {
    WizardDefaultSet& defaults = Defaults();
    const auto copy = [&](DocGroup group, int* values, int* defaultsOut, int count) {
        for (int n = 1; n <= count; ++n) {
            if (values)
                values[n - 1] = doc.Value(group, n);
            defaultsOut[n - 1] = doc.Default(group, n);
        }
    };
    copy(DocCn, document_.Cn, defaults.Cn, 99);
    copy(DocTn, document_.Tn, defaults.Tn, 18);
    copy(DocSn, document_.Sn, defaults.Sn, 29);
    copy(DocPn3, document_.Pn, defaults.Pn, 85);
    copy(DocHn, document_.Hn, defaults.Hn, 24);
    copy(Docqn, nullptr, defaults.qn, 7);
    copy(Doctn, nullptr, defaults.tn, 63);
    copy(DoconC, nullptr, defaults.onC, 69);
}

int CollectedSet::Choice(std::string_view key) const {
    auto it = choices_.find(key);
    return it == choices_.end() ? 0 : it->second;
}

DioAssignment CollectedSet::DiOf(int function) const {
    auto it = diPins_.find(function);
    return it == diPins_.end() ? DioAssignment{function, 0, 0} : it->second;
}

DioAssignment CollectedSet::DoOf(int function) const {
    auto it = doPins_.find(function);
    return it == doPins_.end() ? DioAssignment{function, 0, 0} : it->second;
}

void CollectedSet::ReloadDiList() {
    const WizardDefaultSet& source = Source();
    std::copy(source.Hn, source.Hn + DiCount, DiList.begin());
    ScanPins(DiList.data(), DiCount, kDiFunctions, static_cast<int>(std::size(kDiFunctions)), diPins_);
}

void CollectedSet::ReloadDoList() {
    const WizardDefaultSet& source = Source();
    for (int i = 0; i < DoCount; ++i)
        DoList[i] = source.Hn[DoParamNumber(i) - 601];
    ScanPins(DoList.data(), DoCount, kDoFunctions, static_cast<int>(std::size(kDoFunctions)), doPins_);
}

void CollectedSet::ResetDioForControlMode(int mode) {
    if (mode >= 0 && mode <= 2) {
        WizardDefaultSet& defaults = Defaults();
        for (int i = 0; i < DiCount; ++i)
            defaults.Hn[i] = kDioDefaults[mode][i];
        for (int i = 0; i < DoCount; ++i)
            defaults.Hn[DoParamNumber(i) - 601] = kDioDefaults[mode][DiCount + i];
    }
    ReloadDiList();
    ReloadDoList();
}

void CollectedSet::InitCollectedValues() {
    WizardDefaultSet& source = const_cast<WizardDefaultSet&>(Source());
    for (const char* code : kWholeChoices)
        choices_[code] = *Slot(source, code);
    for (const char* code : kDigitChoices) {
        const int value = *Slot(source, code);
        for (int d = 0; d < 4; ++d)
            choices_[DigitKey(code, d)] = DigitAt(value, d);
    }
    choices_["GearMethod"] = UseDefaults ? 1 : (*Slot(source, "Pn354") < 64 ? 1 : 0);
    std::copy(std::begin(source.Cn), std::end(source.Cn), values_.Cn);
    std::copy(std::begin(source.Tn), std::end(source.Tn), values_.Tn);
    std::copy(std::begin(source.Sn), std::end(source.Sn), values_.Sn);
    std::copy(std::begin(source.Pn), std::end(source.Pn), values_.Pn);
    std::copy(std::begin(source.Hn), std::end(source.Hn), values_.Hn);
}

void CollectedSet::MergeInto(int* list, int count, std::map<int, DioAssignment>& pins,
                             const std::vector<DioAssignment>& assignments,
                             const std::vector<int>& precedence) {
    std::vector<int> mergedNumbers;
    for (const DioAssignment& a : assignments) {
        DioAssignment& pin = pins[a.function];
        pin.function = a.function;
        const int previous = pin.number;
        int number = a.number;
        int contact = a.contact;
        const auto taken = [&](int n) {
            if (n <= 0)
                return false;
            for (int f : precedence)
                if (f != a.function && pins.count(f) && pins[f].number == n)
                    return true;
            return false;
        };
        if (taken(number)) {
            number = previous;
            contact = pin.contact;
            if (taken(number))
                number = contact = 0;
        }
        if (number < 0 || number > count)
            number = contact = 0;
        if (number > 0)
            list[number - 1] = (contact & 1) * 256 + a.function;
        if (previous != number && previous > 0 &&
            std::find(mergedNumbers.begin(), mergedNumbers.end(), previous) == mergedNumbers.end())
            list[previous - 1] = 0;
        // Another function that held this pin has lost it to the new assignment.
        for (auto& [function, other] : pins)
            if (function != a.function && number > 0 && other.number == number)
                other = {function, 0, 0};
        pin.number = number;
        pin.contact = number > 0 ? (contact & 1) : 0;
        if (number > 0)
            mergedNumbers.push_back(number);
    }
}

void CollectedSet::MergeDi(const std::vector<DioAssignment>& assignments,
                           const std::vector<int>& precedence) {
    MergeInto(DiList.data(), DiCount, diPins_, assignments, precedence);
}

void CollectedSet::MergeDo(const std::vector<DioAssignment>& assignments) {
    MergeInto(DoList.data(), DoCount, doPins_, assignments, {});
}

void CollectedSet::WriteDiListToValues() {
    std::copy(DiList.begin(), DiList.end(), values_.Hn);
}

void CollectedSet::WriteDoListToValues() {
    for (int i = 0; i < DoCount; ++i)
        values_.Hn[DoParamNumber(i) - 601] = DoList[i];
}

std::optional<std::string> CollectedSet::UnsetDigit(std::initializer_list<const char*> keys) const {
    for (const char* key : keys) {
        const int digit = Choice(key);
        if (digit < 0 || digit > 15)
            return std::string(key);
    }
    return std::nullopt;
}

std::optional<std::string> CollectedSet::ApplyControlMode(int mode) {
    if (mode < 0 || mode > 2)
        return std::string("ControlMode");
    *Default("Cn001") = mode;
    UseDefaults = true;
    ResetDioForControlMode(mode);
    InitCollectedValues();
    return std::nullopt;
}

std::optional<std::string> CollectedSet::ApplyEncoder(int mode, const std::vector<DioAssignment>& pageDi,
                                                      bool reapplied) {
    const char* modeDigit = mode == PositionMode ? "Pn314.0" : "Cn004.0";
    if (auto unset = UnsetDigit({"Pn316.2", modeDigit}))
        return unset;
    *Value("Cn005") = Choice("Cn005");
    *Value("Pn316") = WithDigit(ValueOr0("Pn316"), 2, Choice("Pn316.2"));
    if (mode == PositionMode) {
        *Value("Pn314") = WithDigit(ValueOr0("Pn314"), 0, Choice("Pn314.0"));
        return std::nullopt;
    }
    if (reapplied)
        ReloadDiList();
    *Value("Cn004") = WithDigit(ValueOr0("Cn004"), 0, Choice("Cn004.0"));
    if (mode == SpeedMode)
        MergeDi(pageDi, {}); // SPDINV goes first here; SPD1 and SPD2 give way
    else
        MergeDi(pageDi, {DiFunction::SPD1, DiFunction::SPD2});
    WriteDiListToValues();
    return std::nullopt;
}

std::optional<std::string> CollectedSet::ApplyComprehensive(const std::vector<DioAssignment>& pageDo,
                                                            bool reapplied) {
    if (auto unset = UnsetDigit({"Cn008.0", "Cn008.1", "Cn031.2", "Cn002.1"}))
        return unset;
    const int brake = Choice("Cn008.0");
    int forced = DigitAt(DefaultOr0("Cn008"), 1);
    int cn003 = DefaultOr0("Cn003");
    if (BrakeTakesOutput(brake)) {
        forced = Choice("Cn008.1");
        cn003 = Choice("Cn003");
        if (reapplied)
            ReloadDoList();
        MergeDo(pageDo);
        WriteDoListToValues();
    }
    *Value("Cn008") = WithDigit(WithDigit(ValueOr0("Cn008"), 0, brake), 1, forced);
    *Value("Cn003") = cn003;
    *Value("Cn012") = Choice("Cn012");
    *Value("Cn089") = Choice("Cn089");
    *Value("Cn031") = WithDigit(ValueOr0("Cn031"), 2, Choice("Cn031.2"));
    *Value("Cn002") = WithDigit(ValueOr0("Cn002"), 1, Choice("Cn002.1"));
    return std::nullopt;
}

std::vector<WizardEntry> CollectedSet::WizardParameterList(int mode, const WizardStepFlags& flags) const {
    std::vector<WizardEntry> list;
    const auto add = [&](const std::string& code) { list.push_back({code, ValueOr0(code)}); };
    const auto addAll = [&](std::initializer_list<const char*> codes) {
        for (const char* code : codes)
            add(code);
    };
    add("Cn001");
    if (flags.referenceDone) {
        if (mode == SpeedMode) {
            addAll({"Sn216", "Sn218", "Sn201", "Sn202", "Sn203", "Sn205", "Sn206", "Sn207", "Sn208", "Sn209",
                    "Sn210", "Sn215", "Sn204"});
        } else if (mode == PositionMode) {
            addAll({"Pn301", "Pn332", "Pn356", "Pn354", "Pn302", "Pn303", "Pn304", "Pn305",
                    "Pn306", "Pn313", "Pn329", "Pn330", "Pn315", "Pn317", "Pn355", "Pn318",
                    "Pn319", "Pn320", "Pn321", "Pn361", "Pn362", "Pn307", "Pn308", "Pn309"});
            const int pn317 = ValueOr0("Pn317");
            const int homeReference = DigitAt(pn317, 0);
            if (!flags.comprehensiveDone && DigitAt(pn317, 2) != 0 && ValueOr0("Pn355") == 0 &&
                (homeReference == 0 || homeReference == 1))
                add("Cn002");
        } else {
            addAll({"Tn101", "Tn113", "Tn103", "Cn010", "Cn011", "Tn102", "Tn110", "Tn117", "Tn108", "Tn114",
                    "Tn115", "Tn109", "Tn105", "Tn106", "Tn107"});
        }
    }
    if (flags.encoderDone) {
        addAll({"Cn005", "Pn316"});
        add(mode == PositionMode ? "Pn314" : "Cn004");
    }
    if (flags.referenceDone || (flags.encoderDone && mode != PositionMode))
        for (int n = 601; n <= 612; ++n)
            add(Format("Hn6%02d", n - 600));
    bool outputs = flags.referenceDone && mode != SpeedMode;
    if (flags.comprehensiveDone) {
        addAll({"Cn008", "Cn003", "Cn012", "Cn089", "Cn031", "Cn002"});
        outputs = outputs || BrakeTakesOutput(DigitAt(ValueOr0("Cn008"), 0));
    }
    if (outputs)
        for (int i = 0; i < DoCount; ++i)
            add(Format("Hn6%02d", DoParamNumber(i) - 600));
    return list;
}

int CollectedSet::CapacityClass(int cn030, bool seriesHasFeature) {
    const int n = (cn030 >> 8) & 0xF;
    if (seriesHasFeature)
        return n;
    if (n == 4)
        return 10;
    if (n == 5)
        return 4;
    if (n > 6)
        return n - 2;
    return n;
}

void CollectedSet::Finish(CKeloServoDoc& doc, const std::function<void(std::string_view code)>& markChanged,
                          bool linked, int mode, const WizardStepFlags& stepFlags) const {
    const auto put = [&](const std::string& code, int* target, int value) {
        if (!target)
            return;
        if (*target != value)
            markChanged(code);
        *target = value;
    };
    if (linked) {
        for (const WizardEntry& e : WizardParameterList(mode, stepFlags))
            put(e.code, doc.FindValue(e.code), e.value);
        return;
    }
    const auto putGroup = [&](DocGroup group, const int* values, int count) {
        for (int n = 1; n <= count; ++n) {
            const std::string code = DocParamCode(group, n);
            put(code, &doc.Value(group, n), values[n - 1]);
        }
    };
    putGroup(DocCn, values_.Cn, 99);
    putGroup(DocTn, values_.Tn, 18);
    putGroup(DocSn, values_.Sn, 29);
    putGroup(DocPn3, values_.Pn, 85);
    putGroup(DocHn, values_.Hn, 24);
    const WizardDefaultSet& defaults = Defaults();
    if (UseDefaults) {
        putGroup(Docqn, defaults.qn, 7);
        putGroup(Doctn, defaults.tn, 63);
        for (int n = 1; n <= 18; ++n)
            put(DocParamCode(DoconS, n), &doc.Value(DoconS, n), doc.Default(DoconS, n));
        putGroup(DoconC, defaults.onC, 69);
    }
    const auto setDefaults = [&](DocGroup group, const int* values, int count) {
        for (int n = 1; n <= count; ++n)
            doc.Default(group, n) = values[n - 1];
    };
    setDefaults(DocCn, defaults.Cn, 99);
    setDefaults(DocTn, defaults.Tn, 18);
    setDefaults(DocSn, defaults.Sn, 29);
    setDefaults(DocPn3, defaults.Pn, 85);
    setDefaults(DocHn, defaults.Hn, 24);
    setDefaults(Doctn, defaults.tn, 63);
    setDefaults(DoconC, defaults.onC, 69);
    const int cn030 = values_.Cn[29];
    ModelCode = cn030;
    RatedSpeed = motor_.m_RatedSpeed;
    MotorEncoderResolution = motor_.m_EncoderResolution;
    ForwardTorqueLimit = values_.Cn[9];
    ReverseTorqueLimit = values_.Cn[10];
    DriveCapacityIndex =
        (DriveCapacityIndex & ~0xF) | (CapacityClass(cn030, SeriesHasFeature(doc.Context())) & 0xF);
    doc.InitDependentDefaults();
}
