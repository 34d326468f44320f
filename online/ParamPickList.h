#pragma once
// The list of the parameter pick dialog: every code of the offered groups that the drive series has,
// less a fixed set the online editor never offers, the codes the other slots hold and the partners
// of the seven qn pairs they hold. Pure functions of the other slots' codes and the catalogue.
#include "catalogue/CatalogueContext.h"
#include "catalogue/ParamTexts.h"
#include "online/OnlineRows.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The exclusion class of a code: one per offered group (Cn 1, Tn 2, Sn 3, Pn3 4, qn 5, Hn 6, En 7,
// Pn4 8, ono 9, EC 10, tn 11); 0 for any other code, which hides nothing.
int PickExclusionClass(std::string_view code);

// Whether the code is never offered, whatever the series.
bool IsNeverOffered(std::string_view code);

struct PickEntry {
    std::string code;
    std::string text; // code, " - ", title
    bool operator==(const PickEntry&) const = default;
};

// The entries in list order (Cn, Tn, Sn, Pn3, Pn4, qn, Hn, En, tn, EC, then ono01..ono16 in Project
// Mode), for a slot whose seven other slots hold otherCodes (the slot's own entry empty).
std::vector<PickEntry> PickListEntries(const std::array<std::string, OnlineRowCount>& otherCodes,
                                       const CatalogueContext& context, const StringLoader& load);

// The entry to preselect for a code, as a drop-down list's own prefix search finds it: the first
// entry whose text begins with the code (ignoring case) searching from the second entry and wrapping
// to the first; the first entry when none matches or the code is empty; -1 for an empty list.
int PreselectedPickEntry(const std::vector<PickEntry>& entries, std::string_view code);

// The code of an entry's text: what stands before the first "-", less the blank in front of it.
std::string CodeOfPickText(std::string_view text);
