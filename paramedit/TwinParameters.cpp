#include "paramedit/TwinParameters.h"

#include "catalogue/ParamCode.h"

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

const TwinSet* SetOf(std::string_view code) {
    for (const TwinSet& set : TwinParameters())
        for (int i = 0; i < set.count; ++i)
            if (code == set.codes[static_cast<std::size_t>(i)])
                return &set;
    return nullptr;
}

// The member of a set whose code begins with the prefix, or "".
std::string Member(const TwinSet& set, std::string_view prefix) {
    for (int i = 0; i < set.count; ++i)
        if (StartsWith(set.codes[static_cast<std::size_t>(i)], prefix))
            return set.codes[static_cast<std::size_t>(i)];
    return {};
}

} // namespace

const std::vector<TwinSet>& TwinParameters() {
    static const std::vector<TwinSet> sets = {
        {{"Cn025", "tn855"}, 2, false},          {{"Cn032", "tn856"}, 2, false},
        {{"Cn033", "tn848"}, 2, false},          {{"Cn034", "tn857"}, 2, false},
        {{"Cn059", "tn826"}, 2, false},          {{"Cn060", "tn827"}, 2, false},
        {{"Cn061", "tn828"}, 2, false},          {{"Sn211", "qn501", "tn858"}, 3, false},
        {{"Sn212", "qn502", "tn859"}, 3, false}, {{"Sn213", "qn503", "tn860"}, 3, false},
        {{"Sn214", "qn504", "tn861"}, 3, false}, {{"Pn310", "qn505", "tn862"}, 3, false},
        {{"Pn311", "qn506", "tn863"}, 3, false}, {{"Pn312", "qn507", "tn844"}, 3, false},
        {{"onC11", "tn829"}, 2, false},          {{"onC12", "tn837"}, 2, false},
        {{"onC30", "tn845"}, 2, false},          {{"onC32", "tn846"}, 2, false},
        {{"onC33", "tn847"}, 2, false},          {{"onC37", "tn832"}, 2, false},
        {{"onC38", "tn833"}, 2, false},          {{"onC39", "tn834"}, 2, false},
        {{"onC40", "tn835"}, 2, false},          {{"onC41", "tn836"}, 2, false},
        {{"onC42", "tn830"}, 2, false},          {{"onC43", "tn831"}, 2, false},
        {{"onS06", "tn839"}, 2, true},           {{"onS07", "tn840"}, 2, false},
        {{"onS08", "tn841"}, 2, true},           {{"onS09", "tn842"}, 2, false},
        {{"onS10", "tn843"}, 2, false},          {{"onS11", "tn838"}, 2, true},
        {{"onS13", "tn849"}, 2, false},          {{"onS14", "tn850"}, 2, false},
        {{"onS15", "tn851"}, 2, false},          {{"onS16", "tn852"}, 2, false},
        {{"onS17", "tn853"}, 2, false},          {{"onS18", "tn854"}, 2, false},
    };
    return sets;
}

std::vector<std::string> TwinsOf(std::string_view code) {
    std::vector<std::string> twins;
    if (const TwinSet* set = SetOf(code))
        for (int i = 0; i < set->count; ++i)
            if (code != set->codes[static_cast<std::size_t>(i)])
                twins.emplace_back(set->codes[static_cast<std::size_t>(i)]);
    return twins;
}

int TwinTransferValue(std::string_view from, std::string_view to, int value, int present) {
    const TwinSet* set = SetOf(from);
    if (!set || !set->digit || set != SetOf(to))
        return value;
    if (StartsWith(from, "onS") && StartsWith(to, "tn"))
        return value & 0xF;
    if (StartsWith(from, "tn") && StartsWith(to, "onS"))
        return (present & 0xFFF0) + value;
    return value;
}

std::string TnTwinOfIndex(int index) {
    const int group = ParamGroupOfIndex(index);
    if (group != GroupCn && group != Groupqn && group != GrouponS && group != GrouponC)
        return {};
    const TwinSet* set = SetOf(ParamCodeFromIndex(index));
    return set ? Member(*set, "tn") : std::string();
}

std::string TnTwinSource(int tnNumber) {
    if (tnNumber < 26 || tnNumber > 63)
        return {};
    const TwinSet* set = SetOf(ParamCodeFromIndex(ParamIndexOf(Grouptn, tnNumber)));
    if (!set)
        return {};
    if (set->count == 3)
        return Member(*set, "qn");
    return set->codes[0];
}

std::string QnTripleTwin(std::string_view code) {
    const TwinSet* set = SetOf(code);
    if (!set || set->count != 3)
        return {};
    if (StartsWith(code, "qn"))
        return set->codes[0];
    if (StartsWith(code, "Sn") || StartsWith(code, "Pn"))
        return Member(*set, "qn");
    return {};
}

// Marks ------------------------------------------------------------------------------------------

int MarkSlotOfCode(std::string_view code) {
    const int index = ParamIndexFromCode(code);
    if (index <= 0)
        return -1;
    switch (ParamGroupOfIndex(index)) {
    case GroupCn:
        return 0;
    case GroupTn:
        return 1;
    case GroupSn:
        return 2;
    case GroupPn3:
        return 3;
    case Groupqn:
        return 4;
    case GroupHn:
        return 5;
    case GroupPn4:
        return 7;
    case GroupEn:
        return 8;
    case Grouptn:
        return 9;
    case GrouponT:
        return 10;
    case GrouponS:
        return 11;
    case Groupond:
        return 12;
    case GrouponC:
        return 13;
    case Groupono:
        return 14;
    case GrouponA:
        return 15;
    case GrouponE:
        return 16;
    case GroupEC:
        return 17;
    case GroupMAb:
        return 18;
    default:
        return -1;
    }
}

ParamMarkTables::Grid& ParamMarkTables::Of(Table table) {
    return table == Check ? check : table == Changed ? changed : overRange;
}

const ParamMarkTables::Grid& ParamMarkTables::Of(Table table) const {
    return table == Check ? check : table == Changed ? changed : overRange;
}

int ParamMarkTables::Get(Table table, std::string_view code) const {
    const int slot = MarkSlotOfCode(code);
    if (slot < 0)
        return 0;
    return Of(
        table)[static_cast<std::size_t>(slot)][static_cast<std::size_t>(ParamIndexFromCode(code) % 100)];
}

void ParamMarkTables::Set(Table table, std::string_view code, int mark) {
    const int slot = MarkSlotOfCode(code);
    if (slot < 0)
        return;
    Of(table)[static_cast<std::size_t>(slot)][static_cast<std::size_t>(ParamIndexFromCode(code) % 100)] =
        mark;
}

void ParamMarkTables::Clear() {
    *this = ParamMarkTables{};
}

// Rules ------------------------------------------------------------------------------------------

void TwinRules::ApplyEditedValue(std::string_view code, int value) {
    const auto showEdited = [this](std::string_view c, int v) {
        host_.ShowRowValue(c, v);
        host_.SetRowChanged(c, true);
        host_.CheckRow(c);
    };
    showEdited(code, value);
    if (host_.HasDocument()) {
        host_.SetDocumentValue(code, value);
        host_.SetDocumentModified();
        host_.Marks().Set(ParamMarkTables::Changed, code, 1);
        host_.Marks().Set(ParamMarkTables::Check, code, 1);
    }
    const std::string twin = QnTripleTwin(code);
    if (twin.empty())
        return;
    StoreValueAndTwins(twin, value);
    host_.Marks().Set(ParamMarkTables::Changed, twin, 1);
    host_.Marks().Set(ParamMarkTables::Check, twin, 1);
    showEdited(twin, value);
}

void TwinRules::StoreValueAndTwins(std::string_view code, int value) {
    if (!host_.HasDocument())
        return;
    host_.SetDocumentValue(code, value);
    const int index = ParamIndexFromCode(code);
    const int group = ParamGroupOfIndex(index);
    if (group == GroupCn || group == Groupqn || group == GrouponC || group == GrouponS)
        PropagateToTnTwin(index, value);
    else if (group == Grouptn)
        PropagateFromTnTwin(index % 100, value);
    host_.SetDocumentModified();
}

int TwinRules::PropagateToTnTwin(int index, int value) {
    const std::string tn = TnTwinOfIndex(index);
    if (!tn.empty())
        ApplyEditedValue(tn,
                         TwinTransferValue(ParamCodeFromIndex(index), tn, value, host_.DocumentValue(tn)));
    return 1;
}

void TwinRules::PropagateFromTnTwin(int tnNumber, int value) {
    const std::string source = TnTwinSource(tnNumber);
    if (source.empty())
        return;
    const std::string tn = ParamCodeFromIndex(ParamIndexOf(Grouptn, tnNumber));
    ApplyEditedValue(source, TwinTransferValue(tn, source, value, host_.DocumentValue(source)));
}

void TwinRules::CopyValueToTwins(std::string_view code, int value) {
    if (!host_.HasDocument())
        return;
    for (const std::string& twin : TwinsOf(code)) {
        // The row shows the twin's own value, which differs from the read one for a digit twin.
        const int v = TwinTransferValue(code, twin, value, host_.DocumentValue(twin));
        host_.SetDocumentValue(twin, v);
        host_.Marks().Set(ParamMarkTables::Changed, twin, 0);
        host_.ShowRowValue(twin, v);
        host_.SetRowChanged(twin, false);
    }
}

void TwinRules::MarkTwinRows(std::string_view code, int mark) {
    for (const std::string& twin : TwinsOf(code)) {
        host_.Marks().Set(ParamMarkTables::Changed, twin, mark);
        host_.SetRowChanged(twin, mark != 0);
    }
}

std::string RowValueText(std::string_view code, int value, const CatalogueContext& context) {
    return FormatParamValue(code, value, context).substr(0, RowCellTextLimit);
}

std::string RowUnitText(std::string_view code, const CatalogueContext& context, const StringLoader& load) {
    return ParamUnitText(code, context, load).substr(0, RowCellTextLimit);
}

int FindRowByCode(const std::vector<std::string>& rowCodes, std::string_view code) {
    if (code.empty())
        return -1;
    for (std::size_t row = 0; row < rowCodes.size(); ++row)
        if (StartsWith(rowCodes[row], code))
            return static_cast<int>(row);
    return -1;
}

std::vector<int> HnRowsToRewrite(const std::vector<std::string>& rowCodes, bool* complete) {
    std::vector<int> rows;
    if (complete)
        *complete = true;
    for (std::size_t row = 0; row < rowCodes.size(); ++row) {
        const std::string code = ParamText(rowCodes[row]);
        if (code.size() < 5) {
            if (complete)
                *complete = false;
            break;
        }
        if (StartsWith(code, "Hn6") && ParamNumber(code) > 0)
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}
