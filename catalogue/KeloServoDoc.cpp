#include "catalogue/KeloServoDoc.h"

#include "catalogue/DocumentGlobals.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

struct DocGroupInfo {
    int size;
    ParamGroup catalogueGroup;
};

const DocGroupInfo docGroups[DocGroupCount] = {
    {99, GroupCn},  {18, GroupTn}, {29, GroupSn},  {85, GroupPn3}, {7, Groupqn},   {24, GroupHn},
    {99, GroupPn4}, {24, GroupEn}, {16, GroupMAb}, {63, Grouptn},  {34, GroupEC},  {24, GrouponT},
    {18, GrouponS}, {2, Groupond}, {69, GrouponC}, {26, Groupono}, {38, GrouponA}, {17, GrouponE}};

class NotConnectedHost : public DocumentHost {};

} // namespace

DocumentHost& DefaultDocumentHost() {
    static NotConnectedHost host;
    return host;
}

int DocGroupSize(DocGroup group) {
    return group >= 0 && group < DocGroupCount ? docGroups[group].size : 0;
}

ParamGroup DocGroupToParamGroup(DocGroup group) {
    return docGroups[group].catalogueGroup;
}

int DocGroupOfParamGroup(ParamGroup group) {
    for (int g = 0; g < DocGroupCount; ++g)
        if (docGroups[g].catalogueGroup == group)
            return g;
    return -1;
}

std::string DocParamCode(DocGroup group, int number) {
    return ParamCodeFromIndex(ParamIndexOf(DocGroupToParamGroup(group), number));
}

CKeloServoDoc::CKeloServoDoc(DocumentHost* host)
    : m_VersionText(VersionLiteral), m_Wizard(RatedSpeed, MotorEncoderResolution, ForwardTorqueLimit),
      host_(host ? host : &DefaultDocumentHost()) {
    InitSeriesDefaults();
    InitDependentDefaults();
    m_DocumentState = 0;
    m_StatusWord = 1;
    m_OnC18Status = 0;
    FeatureStatusWord = 0;
    m_Names.clear();
}

#define KELO_DOC_CELL(table)                                                                                 \
    assert(group >= 0 && group < DocGroupCount && number >= 1 && number <= docGroups[group].size);           \
    return table[group][number - 1]

int& CKeloServoDoc::Value(DocGroup group, int number) {
    KELO_DOC_CELL(values_);
}
int CKeloServoDoc::Value(DocGroup group, int number) const {
    KELO_DOC_CELL(values_);
}
int& CKeloServoDoc::Default(DocGroup group, int number) {
    KELO_DOC_CELL(defaults_);
}
int CKeloServoDoc::Default(DocGroup group, int number) const {
    KELO_DOC_CELL(defaults_);
}
int& CKeloServoDoc::Minimum(DocGroup group, int number) {
    KELO_DOC_CELL(minimum_);
}
int CKeloServoDoc::Minimum(DocGroup group, int number) const {
    KELO_DOC_CELL(minimum_);
}
int& CKeloServoDoc::Maximum(DocGroup group, int number) {
    KELO_DOC_CELL(maximum_);
}
int CKeloServoDoc::Maximum(DocGroup group, int number) const {
    KELO_DOC_CELL(maximum_);
}
#undef KELO_DOC_CELL

namespace {
// The document slot of a code, or false for a code the document does not hold.
bool LocateCode(std::string_view code, int& group, int& number) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0)
        return false;
    const int catalogueGroup = ParamGroupOfIndex(index);
    if (catalogueGroup < 0)
        return false;
    group = DocGroupOfParamGroup(static_cast<ParamGroup>(catalogueGroup));
    number = index % 100;
    return group >= 0 && number >= 1 && number <= docGroups[group].size;
}
} // namespace

int* CKeloServoDoc::FindValue(std::string_view code) {
    int g, n;
    return LocateCode(code, g, n) ? &values_[g][n - 1] : nullptr;
}
int* CKeloServoDoc::FindDefault(std::string_view code) {
    int g, n;
    return LocateCode(code, g, n) ? &defaults_[g][n - 1] : nullptr;
}
int* CKeloServoDoc::FindMinimum(std::string_view code) {
    int g, n;
    return LocateCode(code, g, n) ? &minimum_[g][n - 1] : nullptr;
}
int* CKeloServoDoc::FindMaximum(std::string_view code) {
    int g, n;
    return LocateCode(code, g, n) ? &maximum_[g][n - 1] : nullptr;
}

CatalogueContext CKeloServoDoc::Context() const {
    CatalogueContext context;
    context.seriesCode = SeriesCode;
    context.modelCode = ModelCode;
    context.driveControlMode = DriveControlMode;
    context.driveSoftwareVersion = m_DriveSoftwareVersion;
    context.extendedVersion = m_ExtendedVersion;
    context.featureStatusWord = FeatureStatusWord;
    host_->FillContext(context);
    return context;
}

int CKeloServoDoc::RuleMotorCode() const {
    return host_->IsConnected() ? ModelCode : Value(DocCn, 30);
}

bool CKeloServoDoc::IsLinearMotor() const {
    const int family = (RuleMotorCode() >> 12) & 0xF;
    return family == 3 || family == 4;
}

void CKeloServoDoc::ResetGroup(DocGroup group) {
    std::memcpy(values_[group], defaults_[group], sizeof(int) * docGroups[group].size);
}

void CKeloServoDoc::ResetCn0Defaults() {
    ResetGroup(DocCn);
}
void CKeloServoDoc::ResetTn1Defaults() {
    ResetGroup(DocTn);
}
void CKeloServoDoc::ResetSn2Defaults() {
    ResetGroup(DocSn);
}
void CKeloServoDoc::ResetPn3Defaults() {
    ResetGroup(DocPn3);
    m_Pn347DefaultCopy = Default(DocPn3, 47);
}
void CKeloServoDoc::ResetQn5Defaults() {
    ResetGroup(Docqn);
}
void CKeloServoDoc::ResetHn6Defaults() {
    ResetGroup(DocHn);
    std::memcpy(m_HnSecond, defaults_[DocHn], sizeof m_HnSecond);
}
std::array<int, 24> CKeloServoDoc::DioContactFunctions() const {
    std::array<int, 24> words{};
    std::copy(std::begin(m_HnSecond), std::end(m_HnSecond), words.begin());
    return words;
}
void CKeloServoDoc::SetDioContactFunctions(const std::array<int, 24>& words) {
    std::copy(words.begin(), words.end(), std::begin(m_HnSecond));
}
void CKeloServoDoc::ResetPn4Defaults() {
    ResetGroup(DocPn4);
}
void CKeloServoDoc::ResetEn7Defaults() {
    ResetGroup(DocEn);
}
void CKeloServoDoc::ResetMAbDefaults() {
    ResetGroup(DocMAb);
}
void CKeloServoDoc::ResetTn8Defaults() {
    ResetGroup(Doctn);
}
void CKeloServoDoc::ResetEC9Defaults() {
    ResetGroup(DocEC);
}
void CKeloServoDoc::ResetOnGroupsDefaults() {
    for (DocGroup g : {DoconT, DoconS, Docond, DoconC, Docono, DoconA, DoconE})
        ResetGroup(g);
}

void CKeloServoDoc::ResetMainGroups() {
    ResetCn0Defaults();
    SetDioDefaultsByControlMode();
    ResetHn6Defaults();
    ResetTn1Defaults();
    ResetSn2Defaults();
    ResetPn3Defaults();
    ResetPn4Defaults();
    ResetQn5Defaults();
    ResetEn7Defaults();
    ResetTn8Defaults();
    ResetEC9Defaults();
}

bool CKeloServoDoc::OnNewDocument() {
    std::memset(m_Un, 0, sizeof m_Un);
    std::memset(m_OnU, 0, sizeof m_OnU);
    std::memset(m_Reserved1, 0, sizeof m_Reserved1);
    std::memset(m_Reserved2, 0, sizeof m_Reserved2);
    if (ForeignSeriesLoadedFlag) {
        RatedSpeed = StartRatedSpeed;
        DriveCapacityIndex = StartDriveCapacityIndex;
        ModelCode = NewDocumentModelCode;
    }
    InitSeriesDefaults();
    InitDependentDefaults();
    ResetMainGroups();
    ResetOnGroupsDefaults();
    ResetMAbDefaults();
    m_CarriedWord = 0;
    std::memset(m_MemoryImage, 0, sizeof m_MemoryImage);
    m_Names.clear();
    host_->ClearComparisonTables();
    m_DocumentState = 1;
    m_ArchivedWord1 = 0;
    m_ArchivedWord2 = 0;
    SetModifiedFlag(false);
    return true;
}
