// The document's default table and limit tables: constants per group and the rules that depend on
// the series, the control mode, the motor and what the drive reports.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/RegisterMap.h"

#include <climits>
#include <cstring>
#include <initializer_list>

namespace {

struct Entry {
    int first; // number, or first number of a run
    int last;  // last number of the run (0: same as first)
    int value;
};

struct LimitEntry {
    int first;
    int last;
    int min;
    int max;
};

// Constant defaults; numbers not listed stay 0.
const Entry cnDefaults[] = {
    {4, 0, 1},    {6, 0, 2},     {13, 0, 5000}, {14, 0, 7},    {15, 0, 68},  {16, 0, 200},  {21, 0, 200},
    {25, 0, 10},  {26, 0, 9},    {32, 0, 500},  {33, 0, 500},  {36, 0, 1},   {37, 0, 257},  {43, 0, 100},
    {44, 0, 100}, {46, 0, 6},    {52, 0, 4},    {60, 0, 30},   {62, 0, 50},  {64, 0, 50},   {66, 0, 5000},
    {67, 0, 7},   {69, 0, 5000}, {70, 0, 7},    {72, 0, 5000}, {73, 0, 7},   {75, 0, 5000}, {76, 0, 7},
    {78, 0, 256}, {79, 0, 1},    {84, 0, 4096}, {85, 0, 30},   {86, 0, 200}, {87, 0, 1},    {95, 0, 130},
    {96, 0, 100}, {97, 0, 1},    {98, 0, 3000}};
const Entry tnDefaults[] = {{2, 0, 1},  {3, 0, 300},  {5, 0, 100},   {6, 0, 200}, {7, 0, 300},
                            {10, 0, 1}, {14, 0, 100}, {15, 0, -100}, {17, 0, 1}};
const Entry snDefaults[] = {{1, 0, 100}, {2, 0, 200},  {3, 0, 300}, {6, 0, 1},     {7, 0, 1},   {8, 0, 1},
                            {9, 0, 200}, {10, 0, 200}, {11, 0, 40}, {12, 0, 2000}, {13, 0, 40}, {14, 0, 2000},
                            {15, 0, 50}, {19, 0, 2},   {20, 0, 10}, {28, 0, 50}};
const Entry pn3Defaults[] = {{1, 0, 4096},  {2, 6, 1},     {8, 0, 5000},  {9, 0, 5000},  {10, 0, 40},
                             {11, 0, 40},   {14, 0, 1},    {18, 0, 100},  {19, 0, 50},   {23, 0, 1},
                             {24, 0, 12},   {26, 0, 1},    {27, 0, 100},  {33, 0, 1},    {35, 0, 100},
                             {37, 0, 100},  {38, 0, 100},  {39, 0, 1000}, {41, 0, 1000}, {43, 0, 1000},
                             {47, 0, 5000}, {48, 0, 1250}, {51, 0, 10},   {56, 0, 40},   {61, 0, 30},
                             {62, 0, 1500}, {78, 0, 300},  {79, 0, 100},  {80, 0, 300}};
const Entry qnDefaults[] = {{1, 0, 40}, {2, 0, 2000}, {3, 0, 40}, {4, 0, 2000}, {5, 0, 40}, {6, 0, 40}};
const Entry enDefaults[] = {{1, 6, 1},    {10, 0, 1},  {11, 0, 1},  {14, 0, 37},
                            {15, 0, 100}, {16, 0, 50}, {24, 0, 100}};
const Entry tnGroupDefaults[] = {
    {27, 0, 30},  {29, 0, 15},   {30, 0, 8210}, {31, 0, 1},   {33, 0, 2500}, {34, 0, 250}, {35, 0, 100},
    {36, 0, 30},  {37, 0, 1040}, {39, 0, 1},    {40, 0, 100}, {42, 0, 50},   {43, 0, 100}, {46, 0, 30},
    {48, 0, 500}, {49, 0, 100},  {51, 0, 50},   {52, 0, 100}, {53, 0, 100},  {54, 0, 500}, {55, 0, 10},
    {56, 0, 500}, {58, 0, 40},   {59, 0, 2000}, {60, 0, 40},  {61, 0, 2000}, {62, 0, 40},  {63, 0, 40}};
const Entry ecDefaults[] = {{4, 0, 1},      {5, 0, 30},   {7, 0, 2500}, {8, 0, 2500},
                            {9, 12, 100},   {13, 0, 1},   {14, 0, 10},  {16, 0, 100},
                            {17, 0, 10000}, {18, 0, 100}, {19, 0, 3},   {23, 0, 10000},
                            {25, 0, 10},    {27, 0, 6},   {33, 0, 100}, {34, 0, 100}};
const Entry onTDefaults[] = {{1, 0, 2000}, {2, 0, 1896},  {6, 0, 5000}, {9, 0, 5},    {10, 0, 16},
                             {11, 0, 40},  {12, 0, 70},   {13, 0, 500}, {14, 0, 273}, {16, 0, 100},
                             {17, 0, 1},   {18, 0, 5000}, {19, 0, 90},  {20, 0, 1},   {21, 0, 150},
                             {22, 0, 20},  {23, 0, 100},  {24, 0, 50}};
const Entry onSDefaults[] = {{1, 0, 175}, {2, 0, 16},   {6, 0, 1},     {7, 0, 100},
                             {9, 0, 50},  {10, 0, 100}, {12, 0, 1600}, {13, 0, 100},
                             {15, 0, 50}, {16, 0, 100}, {17, 0, 100},  {18, 0, 500}};
const Entry onCDefaults[] = {
    {3, 0, 2},     {4, 0, 20},    {6, 0, 100}, {7, 0, 43439}, {8, 0, 10859}, {9, 0, 1},    {11, 0, 15},
    {12, 0, 1040}, {13, 0, 3},    {15, 0, 4},  {16, 0, 2000}, {22, 0, 3},    {23, 0, 120}, {24, 0, 300},
    {29, 0, 1012}, {32, 0, 30},   {35, 0, 4},  {36, 0, 2},    {38, 0, 2500}, {39, 0, 250}, {40, 0, 100},
    {41, 0, 30},   {42, 0, 8210}, {43, 0, 1},  {44, 0, 10},   {45, 0, 2048}, {47, 0, 200}, {48, 0, 1},
    {49, 0, 1000}, {55, 0, 10},   {56, 0, 12}, {58, 0, 700},  {62, 0, 20},   {68, 0, 30},  {69, 0, 5}};
const Entry onoDefaults[] = {{1, 0, 752},  {3, 0, 32},     {5, 0, 968},  {7, 0, 32},  {9, 0, 12456},
                             {11, 0, 128}, {13, 0, 12356}, {15, 0, 128}, {20, 0, 40}, {25, 0, 10}};
const Entry onEDefaults[] = {{1, 0, 4096}, {3, 0, 1000}, {4, 11, 1}, {14, 0, 1}, {15, 0, 1}, {17, 0, 100}};

// Constant limits.
const LimitEntry cnLimits[] = {
    {2, 0, 0, 4113},      {3, 0, -3000, 3000},  {4, 0, 0, 1},         {5, 0, 16, 2097152},
    {6, 0, 0, 187},       {8, 0, 0, 5},         {12, 0, 0, 10000},    {13, 0, 50, 5000},
    {14, 0, 1, 100},      {15, 0, 0, 68},       {16, 0, 0, 399},      {18, 0, 0, 18750},
    {19, 0, 0, 41943040}, {20, 0, 0, 10000},    {21, 0, 0, 399},      {23, 0, 0, 18750},
    {24, 0, 0, 41943040}, {25, 0, 0, 2000},     {26, 0, 1, 21},       {27, 0, -250, 250},
    {28, 0, -250, 250},   {29, 0, 0, 1},        {30, 0, 0, 65535},    {31, 0, 0, 275},
    {32, 0, 0, 2500},     {33, 0, 0, 1000},     {34, 0, 0, 5000},     {35, 0, 0, 97},
    {36, 0, 1, 254},      {38, 0, 0, 8},        {39, 0, 0, 20},       {40, 0, 0, 255},
    {42, 0, 0, 0},        {43, 0, -1000, 1000}, {44, 0, -1000, 1000}, {45, 47, 0, 0},
    {48, 50, 0, 10000},   {52, 0, 0, 100},      {53, 0, 0, 1},        {54, 0, 0, 65535},
    {55, 0, 0, 300},      {58, 0, 0, 32767},    {59, 0, 0, 2},        {60, 0, 5, 2000},
    {62, 0, 50, 300},     {63, 0, 0, 7},        {64, 0, 1, 1000},     {65, 0, 0, 1000},
    {66, 0, 50, 5000},    {67, 0, 1, 100},      {68, 0, 0, 1000},     {69, 0, 50, 5000},
    {70, 0, 1, 100},      {71, 0, 0, 1000},     {72, 0, 50, 5000},    {73, 0, 1, 100},
    {74, 0, 0, 1000},     {75, 0, 50, 5000},    {76, 0, 1, 100},      {77, 0, 0, 1000},
    {79, 0, 1, 127},      {80, 0, 0, 32000},    {81, 0, 0, 100},      {82, 0, 0, 65535},
    {83, 0, 0, 32},       {84, 0, 0, 4096},     {85, 0, 0, 100},      {86, 0, 1, 1000},
    {87, 0, 1, 50000},    {88, 0, 0, 4097},     {89, 0, 0, 10000},    {90, 0, 0, 4096},
    {91, 0, 0, 8192},     {92, 0, 0, 0},        {93, 0, 0, 0},        {94, 0, 0, 1000},
    {95, 0, 128, 256},    {96, 0, 0, 127},      {98, 0, 1000, 10000}, {99, 0, 0, 120}};
const LimitEntry tnLimits[] = {{2, 0, 1, 50000},  {3, 0, 0, 600},       {4, 0, -2500, 2500},
                               {8, 0, 0, 300},    {9, 0, 100, 10000},   {10, 0, 1, 10000},
                               {11, 12, 0, 0},    {13, 0, -3000, 3000}, {16, 0, 0, 5000},
                               {17, 0, 1, 50000}, {18, 0, 0, 5000}};
const LimitEntry snLimits[] = {
    {4, 0, 0, 1},       {6, 7, 1, 50000}, {8, 0, 0, 10000},   {9, 10, 1, 20000},   {11, 0, 2, 3200},
    {12, 0, 40, 50000}, {13, 0, 2, 3200}, {14, 0, 40, 50000}, {16, 0, 100, 10000}, {17, 0, -2500, 2500},
    {19, 0, 0, 4},      {20, 0, 0, 1000}, {21, 0, 0, 100},    {22, 25, 0, 0},      {26, 0, 0, 2500},
    {27, 0, 0, 5000},   {28, 0, 1, 50000}};
const LimitEntry onCLimits[] = {{1, 0, 100, 300},
                                {2, 0, 0, 0x30FF},
                                {3, 4, 0, 0xFFFF},
                                {5, 0, 50, 2000},
                                {6, 0, 1, 0xFFFF},
                                {7, 8, 0, 0xFFFF},
                                {9, 0, 0, 1},
                                {10, 0, 0, 6},
                                {11, 0, 15, 50},
                                {12, 0, 0, 0x721},
                                {13, 0, 0, 0xA4},
                                {15, 0, 1, 50},
                                {16, 0, 0, 10000},
                                {17, 0, 0, 2},
                                {18, 0, 0, 26},
                                {19, 0, 0, 0x1100},
                                {22, 0, 1, 20},
                                {23, 24, 50, 700},
                                {25, 26, -10000, 10000},
                                {27, 0, 0, 700},
                                {28, 0, -700, 0},
                                {29, 0, 0, 2000},
                                {30, 0, 0, 0x310},
                                {31, 0, 0, 3000},
                                {32, 0, 0, 1000},
                                {33, 0, 0, 100},
                                {34, 0, 0, 32767},
                                {35, 36, 0, 10},
                                {37, 0, 0, 0x31},
                                {38, 39, 5, 25000},
                                {41, 0, 1, 2000},
                                {42, 0, 0x1000, 0x5113},
                                {43, 0, 0, 1},
                                {44, 45, 0, 0x1000},
                                {46, 0, 0, 100},
                                {47, 0, 20, 0x1FF},
                                {48, 0, 1, 10},
                                {49, 0, 0, 5000},
                                {50, 0, 0, 1},
                                {51, 0, 1, 100},
                                {52, 0, 0, 0xFFFF},
                                {53, 0, 0, 1},
                                {54, 0, 0, 0x11},
                                {55, 0, 0, 32767},
                                {56, 0, 11, 0x49},
                                {57, 58, 0, 5000},
                                {59, 0, 0, 1},
                                {60, 0, 0, 0x10},
                                {61, 0, 0, 0x1115},
                                {62, 0, 0, 1000},
                                {63, 67, 0, 0},
                                {68, 0, 10, 200},
                                {69, 0, 1, 100}};

const LimitEntry pn3Limits[] = {{20, 0, -30000, 30000}, {38, 0, 1, 1000},  {39, 0, 10, 1000},
                                {41, 0, 10, 1000},      {43, 0, 10, 1000}, {55, 0, 0, 37},
                                {56, 0, 1, 1000}};

// Digital input defaults of Hn601..Hn616 per control mode; 260 and 261 are the limit inputs with the
// contact-B bit.
const int dioByMode[14][16] = {
    /* 0 */ {1, 2, 3, 260, 261, 27, 28, 26, 9, 10, 11, 12, 1, 2, 8, 5},
    /* 1 */ {1, 2, 3, 260, 261, 6, 14, 8, 9, 10, 11, 12, 1, 2, 3, 5},
    /* 2 */ {1, 2, 3, 260, 261, 6, 7, 13, 9, 20, 21, 12, 1, 2, 7, 6},
    /* 3 */ {1, 2, 3, 260, 261, 6, 14, 8, 9, 10, 11, 12, 1, 2, 3, 6},
    /* 4 */ {1, 2, 3, 260, 261, 27, 28, 26, 9, 10, 11, 12, 1, 2, 8, 5},
    /* 5 */ {1, 2, 3, 260, 261, 27, 28, 26, 9, 10, 11, 12, 1, 2, 8, 6},
    /* 6 */ {1, 2, 22, 23, 24, 25, 30, 18, 9, 20, 21, 19, 1, 2, 7, 6},
    /* 7 */ {1, 2, 22, 23, 24, 25, 30, 18, 9, 10, 11, 12, 1, 2, 3, 6},
    /* 8 */ {1, 2, 22, 23, 24, 25, 30, 18, 9, 11, 12, 12, 1, 2, 8, 6},
    /* 9 */ {1, 2, 22, 23, 24, 25, 30, 31, 9, 18, 29, 12, 6, 2, 14, 13},
    /* 10 */ {1, 2, 3, 260, 261, 27, 28, 26, 9, 10, 11, 12, 1, 2, 8, 5},
    /* 11 */ {0, 2, 3, 260, 261, 21, 9, 0, 0, 0, 0, 0, 1, 2, 7, 6},
    /* 12 */ {0, 2, 3, 260, 261, 21, 9, 0, 0, 0, 0, 0, 1, 2, 7, 6},
    /* 13 */ {0, 0, 3, 260, 261, 21, 9, 0, 0, 0, 0, 0, 1, 2, 7, 6}};

int RoundHalfUp(double value) {
    return static_cast<int>(value + 0.5);
}

// The full range a parameter's display format and register width can show, for limits no rule sets.
void FormatRange(DocGroup group, int number, const CatalogueContext& context, int& min, int& max) {
    const std::string code = DocParamCode(group, number);
    const int index = ParamIndexOf(DocGroupToParamGroup(group), number);
    const bool wide = IsDoubleWordParameter(ParamGroupLetter(code), number, index);
    switch (ParamTableFlags(code, context) & AttrFormatMask) {
    case FormatDecimal2:
        min = 0, max = 99;
        return;
    case FormatDecimal3:
        min = 0, max = 999;
        return;
    case FormatDecimal4:
    case FormatVersion:
        min = 0, max = 9999;
        return;
    case FormatHex2:
        min = 0, max = 0xFF;
        return;
    case FormatHex3:
        min = 0, max = 0xFFF;
        return;
    case FormatHex:
    case FormatHex4:
        min = 0, max = wide ? INT_MAX : 0xFFFF;
        return;
    default:
        min = wide ? INT_MIN : -32768;
        max = wide ? INT_MAX : 32767;
        return;
    }
}

// Clears hexadecimal digit `digit` of a value.
int ClearDigit(int value, int digit) {
    return value & ~(0xF << (4 * digit));
}

} // namespace

void CKeloServoDoc::InitSeriesDefaults() {
    std::memset(defaults_, 0, sizeof defaults_);
    m_Pn347DefaultCopy = 0;

    const auto apply = [this](DocGroup group, std::initializer_list<Entry> entries) {
        for (const Entry& e : entries)
            for (int n = e.first; n <= (e.last ? e.last : e.first); ++n)
                Default(group, n) = e.value;
    };
    const auto applyTable = [&apply](DocGroup group, const auto& table) {
        for (const Entry& e : table)
            apply(group, {e});
    };
    applyTable(DocCn, cnDefaults);
    applyTable(DocTn, tnDefaults);
    applyTable(DocSn, snDefaults);
    applyTable(DocPn3, pn3Defaults);
    applyTable(Docqn, qnDefaults);
    applyTable(DocEn, enDefaults);
    applyTable(Doctn, tnGroupDefaults);
    applyTable(DocEC, ecDefaults);
    applyTable(DoconT, onTDefaults);
    applyTable(DoconS, onSDefaults);
    applyTable(DoconC, onCDefaults);
    applyTable(Docono, onoDefaults);
    applyTable(DoconE, onEDefaults);

    const CatalogueContext context = Context();
    const bool shf = SeriesHasFeature(context);
    const bool connected = context.connected;
    const bool linear = IsLinearMotor();
    const int rated = RatedSpeed;
    const int enc = MotorEncoderResolution;

    int mode = 2;
    if (SeriesCode == 3 || SeriesCode == 5 || SeriesCode == 6 || SeriesCode == 8 || SeriesCode == 9)
        mode = 13;
    if (connected ? DriveControlMode != 0 : DriveControlMode != 0 && DriveControlMode != 10)
        mode = DriveControlMode;
    Default(DocCn, 1) = mode;

    Default(DocCn, 7) = RoundHalfUp(rated / 3.0);
    Default(DoconC, 14) = Default(DocCn, 7);
    Default(DocCn, 61) = RoundHalfUp(rated * 2.0 / 3.0);
    Default(Doctn, 28) = Default(DocCn, 61);
    Default(DocTn, 9) = rated;
    Default(DocSn, 16) = rated;
    Default(DocSn, 18) = linear ? rated : static_cast<int>(rated * 1.02);
    Default(DocSn, 29) = linear ? 200 : 0;

    Default(DocCn, 9) = ParamVisible("Cn009", 1, context) ? 0x10 : 0;
    Default(DocCn, 10) = 300;
    Default(DocCn, 11) = -300;
    SetDriveDependentDefaults();

    const int family = (ModelCode >> 12) & 0xF;
    const int capacity = (ModelCode >> 8) & 0xF;
    int cn012 = 0;
    if (family == 1 || family == 3 || family == 5 || family == 7 || family == 15) {
        static const int byClass[16] = {40, 40, 40, 40, 40, 60, 0, 60, 100, 100, 200, 0, 0, 0, 0, 0};
        cn012 = byClass[capacity];
    } else if (family == 2 || family == 4 || family == 6 || family == 8 || family == 14) {
        cn012 = capacity <= 5 ? 100 : capacity == 6 ? 200 : 0;
    }
    Default(DocCn, 12) = cn012;

    Default(DocCn, 30) = ModelCode;
    const int encoderKind = ModelCode & 0xF;
    Default(DocCn, 31) = encoderKind == 5 || encoderKind == 10 || encoderKind == 13 ? 0 : 256;

    if (SeriesCode == 6)
        Default(DocCn, 51) = shf ? 38 : 18;
    else
        Default(DocCn, 51) = shf ? 380 : 190;

    const int cn030Class = (Default(DocCn, 30) >> 8) & 0xF;
    static const int cn089Feature[16] = {750, 750, 750, 500, 300, 200, 200, 64,
                                         64,  64,  64,  64,  64,  64,  64,  64};
    static const int cn089Plain[16] = {250, 250, 250, 250, 250, 200, 32, 125,
                                       100, 70,  50,  32,  32,  32,  32, 32};
    Default(DocCn, 89) = shf ? cn089Feature[cn030Class] : cn089Plain[cn030Class];

    Default(DocPn3, 7) = enc / 1000;
    Default(DocEn, 12) = enc / 1000;
    Default(Docqn, 7) = Default(DocPn3, 12);

    Default(DoconC, 5) = shf ? 1500 : 150;
    Default(DoconC, 18) = DriveCapacityIndex & 0xF;
    if (SeriesCode == 6) {
        Default(DoconC, 20) = shf ? 65 : 32;
        Default(DoconC, 21) = shf ? 70 : 35;
    } else {
        Default(DoconC, 20) = shf ? 750 : 375;
        Default(DoconC, 21) = shf ? 780 : 390;
    }
    Default(DoconC, 51) = ParamVisible("onC51", -1, context) ? 4 : 5;

    SetDioDefaultsByControlMode();
}

void CKeloServoDoc::SetDriveDependentDefaults() {
    if (host_->IsConnected()) {
        int value = 0;
        ForwardTorqueLimit = host_->ReadRegister(0x0C1B, value) ? value : 300;
        ReverseTorqueLimit = host_->ReadRegister(0x0C1C, value) ? value : -300;
    }
    Default(DocCn, 10) = ForwardTorqueLimit;
    Default(DocCn, 11) = ReverseTorqueLimit;
    Default(DocCn, 56) = Default(DocCn, 10);
    Default(DocCn, 57) = Default(DocCn, 11);
    const int quarter = MotorEncoderResolution / 4;
    Default(DocCn, 5) = quarter > 0x8000 ? 0x8000 : quarter;
}

void CKeloServoDoc::SetDioDefaultsByControlMode() {
    const int mode = host_->IsConnected() ? DriveControlMode : Value(DocCn, 1);
    if (mode >= 0 && mode <= 13) {
        for (int n = 1; n <= 16; ++n)
            Default(DocHn, n) = dioByMode[mode][n - 1];
        if (SeriesCode == 3)
            Default(DocHn, 15) = 4;
        static const int outputs[4] = {21, 22, 17, 23};
        static const int outputsMode9[4] = {12, 11, 10, 9};
        for (int i = 0; i < 4; ++i)
            Default(DocHn, 19 + i) = mode == 9 ? outputsMode9[i] : outputs[i];
    }
    if (SeriesCode == 3) {
        Default(DocHn, 17) = 4032;
        Default(DocHn, 18) = 0;
    }
}

void CKeloServoDoc::InitDependentDefaults() {
    const CatalogueContext context = Context();
    const bool shf = SeriesHasFeature(context);
    const bool linear = IsLinearMotor();
    const int rated = RatedSpeed;
    const int rated15 = static_cast<int>(rated * 1.5);
    const int speedMax = linear ? rated : rated15;
    const auto hidden = [&context](const char* code, int option) {
        return !ParamVisible(code, option, context);
    };

    // Everything starts at the full range of its format; the tables and rules below narrow it.
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(static_cast<DocGroup>(g)); ++n)
            FormatRange(static_cast<DocGroup>(g), n, context, Minimum(static_cast<DocGroup>(g), n),
                        Maximum(static_cast<DocGroup>(g), n));

    const auto setLimits = [this](DocGroup group, const auto& table) {
        for (const LimitEntry& e : table)
            for (int n = e.first; n <= (e.last ? e.last : e.first); ++n) {
                Minimum(group, n) = e.min;
                Maximum(group, n) = e.max;
            }
    };
    const auto set = [this](DocGroup group, int number, int min, int max) {
        Minimum(group, number) = min;
        Maximum(group, number) = max;
    };
    setLimits(DocCn, cnLimits);
    setLimits(DocTn, tnLimits);
    setLimits(DocSn, snLimits);
    setLimits(DoconC, onCLimits);

    // Cn rules.
    if (SeriesCode == 3)
        set(DocCn, 1, 6, 13);
    else if (SeriesCode == 5 || SeriesCode == 6 || SeriesCode == 8 || SeriesCode == 9)
        set(DocCn, 1, 13, 13);
    else
        set(DocCn, 1, 0, 14);
    for (int n : {7, 17, 22})
        set(DocCn, n, 0, speedMax);
    int cn009 = SeriesCode == 3 ? 0x0012 : 0x2412;
    for (int digit = 1; digit <= 3; ++digit)
        if (hidden("Cn009", digit))
            cn009 = ClearDigit(cn009, digit);
    set(DocCn, 9, 0, cn009);
    set(DocCn, 10, 0, ForwardTorqueLimit);
    set(DocCn, 56, 0, ForwardTorqueLimit);
    set(DocCn, 11, ReverseTorqueLimit, 0);
    set(DocCn, 57, ReverseTorqueLimit, 0);
    set(DocCn, 37, 0, hidden("Cn037", 1) ? 0x105 : 0x135);
    int cn041 = 0x1102;
    if (hidden("Cn041", 2))
        cn041 = ClearDigit(cn041, 2);
    if (hidden("Cn041", 3))
        cn041 = ClearDigit(cn041, 3);
    set(DocCn, 41, 0, cn041);
    if (SeriesCode == 6)
        set(DocCn, 51, shf ? 36 : 17, shf ? 38 : 18);
    else
        set(DocCn, 51, shf ? 340 : 170, shf ? 380 : 190);
    set(DocCn, 61, 300, static_cast<int>(rated * 2.0 / 3.0 + 0.5));
    set(DocCn, 78, 0, hidden("Cn078", 0) ? 0x500 : 0x501);
    int cn097 = 0x1101;
    if (!hidden("Cn097", 1))
        cn097 += 0x10;
    if (hidden("Cn097", 2))
        cn097 = ClearDigit(cn097, 2);
    if (hidden("Cn097", 3))
        cn097 = ClearDigit(cn097, 3);
    set(DocCn, 97, 0, cn097);

    // Tn rules.
    int tn101 = 0x103;
    if (!hidden("Tn101", 1))
        tn101 += 0x10;
    if (hidden("Tn101", 2))
        tn101 = ClearDigit(tn101, 2);
    set(DocTn, 1, 0, tn101);
    for (int n : {5, 6, 7})
        set(DocTn, n, 0, speedMax);
    set(DocTn, 14, 0, rated15);
    set(DocTn, 15, static_cast<int>(rated * -1.5), 0);

    // Sn rules.
    for (int n : {1, 2, 3})
        set(DocSn, n, linear ? -rated : static_cast<int>(rated * -1.5), speedMax);
    set(DocSn, 5, 0, hidden("Sn205", 1) ? 0x03 : 0x13);
    set(DocSn, 15, 0, speedMax);
    set(DocSn, 18, 100, speedMax);
    set(DocSn, 29, 0, linear ? 200 : 0);

    // onC rules of the same kind as their defaults.
    set(DoconC, 14, 0, speedMax);
    set(DoconC, 40, 0, speedMax);
    set(DoconC, 20, 0, Default(DoconC, 21));
    set(DoconC, 21, 0, Default(DoconC, 21));

    // Pn3 ranges the tool and wizard windows check against.
    setLimits(DocPn3, pn3Limits);
    set(DocPn3, 18, 1, rated);
    set(DocPn3, 19, 1, rated);
    set(DocPn3, 21, -(MotorEncoderResolution - 1), MotorEncoderResolution - 1);
    set(DocPn3, 54, 0, MotorEncoderResolution);
}
