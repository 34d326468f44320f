#include "wizard/DriveModelTable.h"

#include "framework/core/ResourceModule.h"

namespace {

constexpr int kSinglePhaseOrThree = 1053;
constexpr int kThreePhase = 1055;
constexpr int kSupply200 = 1056;
constexpr int kSupply400 = 1057;
constexpr int kModelLabel = 1050;
constexpr int kPowerLabel = 1051;
constexpr int kVoltageLabel = 1052;

constexpr DriveModelRow kRows[DriveModelCount] = {
    {"D01", "100W", kSinglePhaseOrThree, kSupply200},  {"D02", "400W", kSinglePhaseOrThree, kSupply200},
    {"D03", "750W", kSinglePhaseOrThree, kSupply200},  {"D04", "1.0kW", kSinglePhaseOrThree, kSupply200},
    {"D05", "1.5kW", kSinglePhaseOrThree, kSupply200}, {"D06", "2.0kW", kThreePhase, kSupply200},
    {"D07", "3.0kW", kThreePhase, kSupply200},         {"D08", "4.4kW", kThreePhase, kSupply200},
    {"D09", "5.5kW", kThreePhase, kSupply200},         {"D10", "7.5kW", kThreePhase, kSupply200},
    {"D11", "15.0kW", kThreePhase, kSupply200},        {"D12", "750W", kThreePhase, kSupply400},
    {"D13", "1.0kW", kThreePhase, kSupply400},         {"D14", "2.0kW", kThreePhase, kSupply400},
    {"D15", "3.0kW", kThreePhase, kSupply400},         {"D16", "4.4kW", kThreePhase, kSupply400},
    {"D17", "5.5kW", kThreePhase, kSupply400},         {"D18", "7.5kW", kThreePhase, kSupply400},
    {"D19", "15.0kW", kThreePhase, kSupply400},        {"D20", "22.0kW", kThreePhase, kSupply400},
};

const char* FamilyPrefix(int familyCode) {
    switch (familyCode) {
    case 2:
        return "HBVZR3";
    case 3:
        return "YLT2";
    default:
        return "";
    }
}

const char* FamilySuffix(int familyCode) {
    return familyCode == 5 ? " - EL" : "";
}

} // namespace

const DriveModelRow* DriveModelTable(int row) {
    if (row < 0 || row >= DriveModelCount)
        return nullptr;
    return &kRows[row];
}

std::string DriveModelItemText(int familyCode, int row) {
    const DriveModelRow* r = DriveModelTable(row);
    if (!r)
        return {};
    return std::string(FamilyPrefix(familyCode)) + " - " + r->capacityCode + FamilySuffix(familyCode);
}

std::string DriveModelDetailsText(int familyCode, int row) {
    const DriveModelRow* r = DriveModelTable(row);
    if (!r)
        return {};
    return LoadResString(kModelLabel) + r->capacityCode + FamilySuffix(familyCode) + "\n" +
           LoadResString(kPowerLabel) + r->outputPower + "\n" + LoadResString(kVoltageLabel) +
           LoadResString(r->phasesStringId) + LoadResString(r->supplyStringId);
}
