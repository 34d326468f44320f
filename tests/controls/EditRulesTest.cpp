// The edit fields' rules driven through an in-memory edit, as the window drives them.
#include "controls/EditBuffer.h"
#include "controls/HexText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr unsigned kDelete = 0x2E;
const std::string kBackspace = "\b";

// One step a user or the program takes.
struct Step {
    enum Kind { Type, Select, Paste, Cut, Clear, Set, Key } kind;
    std::string text;
    int a = 0, b = 0;
};
Step T(const std::string& s) {
    return {Step::Type, s};
}
Step Sel(int a, int b) {
    return {Step::Select, {}, a, b};
}
Step P(const std::string& s) {
    return {Step::Paste, s};
}
Step SetT(const std::string& s) {
    return {Step::Set, s};
}
Step Del() {
    return {Step::Key, {}, static_cast<int>(kDelete)};
}
Step CutS() {
    return {Step::Cut, {}};
}
Step ClearS() {
    return {Step::Clear, {}};
}

struct Case {
    const char* name;
    EditKind kind;
    std::string mask;
    int whole;
    int decimals;
    std::vector<Step> steps;
    std::string text;
    int caret; // -1: not checked
};

void Drive(EditBuffer& edit, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        switch (s.kind) {
        case Step::Type:
            edit.Type(s.text);
            break;
        case Step::Select:
            edit.Select(s.a, s.b);
            break;
        case Step::Paste:
            edit.clipboard = s.text;
            edit.Paste();
            break;
        case Step::Cut:
            edit.Cut();
            break;
        case Step::Clear:
            edit.Clear();
            break;
        case Step::Set:
            edit.Set(s.text);
            break;
        case Step::Key:
            edit.Key(static_cast<unsigned>(s.a));
            break;
        }
    }
}

class EditRulesTable : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { SetEditLocaleOverride(&dot); }
    void TearDown() override { SetEditLocaleOverride(nullptr); }
    EditLocaleChars dot{U'-', U'.', U','};
};

TEST_P(EditRulesTable, GivesTheExpectedTextAndCaret) {
    const Case& c = GetParam();
    EditBuffer edit(c.kind, c.mask, c.whole, c.decimals);
    Drive(edit, c.steps);
    EXPECT_EQ(edit.Get(), c.text);
    if (c.caret >= 0) {
        EXPECT_EQ(edit.Caret(), c.caret);
    }
}

const Case kCases[] = {
    // Fixed-point mask: an early point pads with zeros and steps onto the mask's point.
    {"DotPadsWholePart", EditKind::MaskedDot, "####.#", 0, 0, {T("12.")}, "0012.", 5},
    {"DotCompletesDecimal", EditKind::MaskedDot, "####.#", 0, 0, {T("12.3")}, "0012.3", 6},
    {"DotIgnoresPastMask", EditKind::MaskedDot, "####.#", 0, 0, {T("12.34x")}, "0012.3", 6},
    {"DotFullWholeThenPoint", EditKind::MaskedDot, "####.#", 0, 0, {T("1234.5")}, "1234.5", 6},
    {"DotRefusesLetters", EditKind::MaskedDot, "####.#", 0, 0, {T("1A2")}, "12", 2},
    {"DotSecondPointIgnored", EditKind::MaskedDot, "#####.##", 0, 0, {T("1.2.3")}, "00001.23", 8},
    {"DotOverwritesInFullText", EditKind::MaskedDot, "##.#", 0, 0, {T("12.3"), Sel(0, 0), T("9")}, "92.3", 1},
    // A digit typed on a literal writes the literal, then the digit at the next place.
    {"DigitJumpsLiteral", EditKind::MaskedDot, "##-##", 0, 0, {T("123")}, "12-3", 4},
    {"HexDigitJumpsLiteral", EditKind::Hex, "##-##", 0, 0, {T("123")}, "12-3", 4},
    {"HexLetterDoesNotJump", EditKind::Hex, "##-##", 0, 0, {T("12A")}, "12", 2},
    // Backspace and Delete remove only from the end, so literals keep their places.
    {"BackspaceInsideIgnored",
     EditKind::Hex,
     "##-##",
     0,
     0,
     {T("1234"), Sel(1, 1), T(kBackspace)},
     "12-34",
     1},
    {"BackspaceBeforeLast", EditKind::Hex, "##-##", 0, 0, {T("1234"), Sel(4, 4), T(kBackspace)}, "12-3", 4},
    {"BackspaceAtEnd", EditKind::Hex, "##-##", 0, 0, {T("1234"), T(kBackspace)}, "12-3", 4},
    {"DeleteInsideIgnored", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(0, 2), Del()}, "12AB", -1},
    {"DeleteSelectionToEnd", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(2, 4), Del()}, "12", 2},
    // Hexadecimal field: typed letters keep their case, the mask bounds the length.
    {"HexTypesLetters", EditKind::Hex, "####", 0, 0, {T("12ab")}, "12ab", 4},
    {"HexStopsAtMaskEnd", EditKind::Hex, "####", 0, 0, {T("12ABC")}, "12AB", 4},
    {"HexRefusesNonHex", EditKind::Hex, "####", 0, 0, {T("1G Z2")}, "12", 2},
    {"HexOverwritesAtCaret", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(1, 1), T("F")}, "1FAB", 2},
    {"HexReplacesSelection", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(0, 4), T("F")}, "F", 1},
    // Pasted and set hex digits stay (the rule reads hex digits, not only decimal ones).
    {"HexPasteKeepsHex", EditKind::Hex, "####", 0, 0, {P("12AB")}, "12AB", -1},
    {"HexPasteCutsAtNonHex", EditKind::Hex, "####", 0, 0, {P("12XY")}, "12", -1},
    {"HexPasteCutsToMask", EditKind::Hex, "####", 0, 0, {P("123456")}, "1234", -1},
    {"HexSetKeepsHex", EditKind::Hex, "####", 0, 0, {SetT("1A2B")}, "1A2B", -1},
    {"HexSetCutsToMask", EditKind::Hex, "########", 0, 0, {SetT("0012ABCD99")}, "0012ABCD", -1},
    {"HexPasteThenType", EditKind::Hex, "####", 0, 0, {P("12"), Sel(2, 2), T("AB")}, "12AB", 4},
    {"EmptyMaskTakesAnything", EditKind::Hex, "", 0, 0, {T("xyz"), P("!")}, "xyz!", -1},
    // Cut copies; what goes is decided by the Delete rule.
    {"CutAtEndRemoves", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(2, 4), CutS()}, "12", -1},
    {"CutInsideKeeps", EditKind::Hex, "####", 0, 0, {T("12AB"), Sel(0, 2), CutS()}, "12AB", -1},
    {"ClearAtEndRemoves", EditKind::MaskedDot, "##.#", 0, 0, {T("12.3"), Sel(2, 4), ClearS()}, "12", -1},
    // Numeric field: the sign.
    {"NoSignWhenNegativeLimit", EditKind::Numeric, "", -5, 0, {T("-12")}, "12", 2},
    {"SignAtStartInserted", EditKind::Numeric, "", 5, 2, {T("-12")}, "-12", 3},
    {"SignAfterStartToggles", EditKind::Numeric, "", 5, 2, {T("123"), Sel(2, 2), T("-")}, "-123", 3},
    {"SignTogglesBack", EditKind::Numeric, "", 5, 2, {T("-123"), Sel(3, 3), T("-")}, "123", 2},
    {"SignAtStartStepsOver", EditKind::Numeric, "", 5, 2, {T("-12"), Sel(0, 0), T("-")}, "-12", 1},
    // Numeric field: whole digits and decimals.
    {"IntegerIgnoresPoint", EditKind::Integer, "", 9, 0, {T("1.5")}, "15", 2},
    {"IntegerNineDigits", EditKind::Integer, "", 9, 0, {T("1234567890")}, "123456789", 9},
    {"WholeLimitOverwrites", EditKind::Numeric, "", 3, 0, {T("123"), Sel(1, 1), T("9")}, "193", 2},
    {"DecimalsLimitRefuses", EditKind::Numeric, "", 5, 2, {T("1.23"), T("4")}, "1.23", 4},
    {"DecimalOverwrites", EditKind::Numeric, "", 5, 2, {T("1.23"), Sel(2, 2), T("9")}, "1.93", 3},
    {"SecondPointMovesCaret", EditKind::Numeric, "", 5, 2, {T("12.5"), Sel(0, 0), T(".")}, "12.5", 3},
    {"LettersIgnored", EditKind::Numeric, "", 5, 2, {T("1a2b")}, "12", 2},
    {"SelectionReplaced", EditKind::Numeric, "", 5, 2, {T("12345"), Sel(0, 5), T("7")}, "7", 1},
    {"BackspaceRemoves", EditKind::Numeric, "", 5, 2, {T("12.5"), T(kBackspace + kBackspace)}, "12", 2},
    {"PasteKeepsNumber", EditKind::Numeric, "", 5, 2, {P("x-1,234.567")}, "1234.56", -1},
    {"SetCutsBack", EditKind::Integer, "", -4, 0, {SetT("-98765")}, "9876", -1},
};

INSTANTIATE_TEST_SUITE_P(Cases, EditRulesTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

TEST(EditRules, DecimalCommaLocaleTakesCommaAsPoint) {
    const EditLocaleChars comma{U'-', U',', U'.'};
    SetEditLocaleOverride(&comma);
    EditBuffer typed(EditKind::Numeric, {}, 5, 2);
    typed.Type("12,5.7");
    EXPECT_EQ(typed.Get(), "12,57");
    EditBuffer pasted(EditKind::Numeric, {}, 5, 2);
    pasted.clipboard = "1.234,5";
    pasted.Paste();
    EXPECT_EQ(pasted.Get(), "1234,5"); // no grouping by default: separators are dropped
    EditBuffer integer(EditKind::Integer, {}, 9, 0);
    integer.Type("3,4");
    EXPECT_EQ(integer.Get(), "34");
    SetEditLocaleOverride(nullptr);
}

TEST(EditRules, GroupingAndPrefixFormatTheNumber) {
    SetEditLocaleOverride(nullptr);
    EditBuffer edit(EditKind::Numeric, {}, 7, 2);
    NumericEditBehavior* rule = edit.Rules().Numeric();
    rule->SetChars({U'-', U'.', U','});
    rule->SetGroupSize(3);
    rule->SetPrefix(U"$");
    edit.Type("-1234567");
    EXPECT_EQ(edit.Get(), "$-1,234,567");
    edit.Set("");
    edit.Type("1234.5");
    EXPECT_EQ(edit.Get(), "$1,234.5");
    edit.Select(1, 2);
    edit.Key(kDelete); // the separators are laid out again
    EXPECT_EQ(edit.Get(), "$234.5");
    edit.Select(0, 0);
    edit.Type("x"); // nothing but the prefix's own characters enter the prefix
    EXPECT_EQ(edit.Get(), "$234.5");
}

TEST(EditRules, NewMaskBringsTextInLine) {
    EditBuffer edit(EditKind::Hex, "########");
    edit.Set("1A2B3C4D");
    edit.Rules().Masked()->SetMask("####");
    EXPECT_EQ(edit.Get(), "1A2B");
    edit.Rules().Masked()->SetMask("##-##");
    EXPECT_EQ(edit.Get(), "1A-2B");
}

TEST(EditRules, AcceptsCharHookIsAskedBeforeEntry) {
    struct Refusing : EditBuffer {
        Refusing() : EditBuffer(EditKind::Numeric, {}, 5, 0) {}
        bool AcceptsChar(EditChar c) override { return c != U'7'; }
    } edit;
    edit.Type("1778");
    EXPECT_EQ(edit.Get(), "18");
}

TEST(HexText, ParsesHexCharsAndCellWords) {
    const std::string hex = "0123456789ABCDEFabcdef";
    for (std::size_t i = 0; i < hex.size(); ++i)
        EXPECT_EQ(ParseHexChar(hex[i]), i < 16 ? static_cast<int>(i) : static_cast<int>(i) - 6) << hex[i];
    for (char c : std::string("gG -x\0", 6))
        EXPECT_EQ(ParseHexChar(c), -1);
    EXPECT_EQ(HexCellWord("1A"), 0x001A);
    EXPECT_EQ(HexCellWord(""), 0);
    EXPECT_EQ(HexCellWord("FFFF9"), 0xFFFF);
    EXPECT_EQ(HexCellWord("1Z"), 0x0010); // a stray character reads as 0, never negative
}

TEST(HexText, DecimalPrefixReadsLikeAtol) {
    EXPECT_EQ(ParseDecimalPrefix("  -123abc"), -123);
    EXPECT_EQ(ParseDecimalPrefix("+45"), 45);
    EXPECT_EQ(ParseDecimalPrefix("abc"), 0);
    EXPECT_EQ(ParseDecimalPrefix(""), 0);
    EXPECT_EQ(ParseDecimalPrefix("99999999999999999999999"), LONG_MAX);
}

} // namespace
