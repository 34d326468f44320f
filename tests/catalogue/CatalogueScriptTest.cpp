// The parameter texts in the resource script: every title id the catalogue produces has a text.
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamCode.h"
#include "catalogue/ParamTexts.h"
#include "framework/core/ResourceModule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {

class CatalogueScript : public ::testing::Test {
protected:
    // The script parsed by the resource layer, as the resource library holds it.
    static void SetUpTestSuite() {
        std::ifstream in(KELO_SOURCE_DIR "/resources/catalogue.rc");
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        module_ = CResourceModule::FromScript(text.str(), "catalogue.rc", nullptr, &error);
        ASSERT_TRUE(module_) << error;
        table_ = {module_->Set().strings.begin(), module_->Set().strings.end()};
    }
    static std::shared_ptr<const CResourceModule> module_;
    static std::map<int, std::string> table_;
};
std::shared_ptr<const CResourceModule> CatalogueScript::module_;
std::map<int, std::string> CatalogueScript::table_;

TEST_F(CatalogueScript, EveryTitleIdHasAText) {
    ASSERT_FALSE(table_.empty());
    int titled = 0;
    for (int g = 0; g < ParamGroupCount; ++g) {
        const ParamGroupInfo& info = ParamGroupTable(static_cast<ParamGroup>(g));
        for (int n = 1; n <= info.count; ++n) {
            const std::string code = ParamCodeFromIndex(info.base + n);
            const TextPiece title = ParamTitleId(code);
            if (title.id == 0)
                continue;
            ++titled;
            auto it = table_.find(title.id);
            ASSERT_NE(it, table_.end()) << code << " title id " << title.id;
            EXPECT_FALSE(it->second.empty()) << code;
            EXPECT_LE(it->second.size(), 100u) << code; // the editor cuts titles at 100 characters
            const std::string shown = FormatIntText(it->second, title.args);
            EXPECT_EQ(shown.find('%'), std::string::npos) << code << ": " << shown;
        }
    }
    EXPECT_GT(titled, 500);
}

TEST_F(CatalogueScript, QuotedTextsStandAsQuoted) {
    const std::map<int, std::string> quoted{
        {61964, "Control Mode Selection"},
        {62034, "Position Pulse Command Type and Logic Selection"},
        {62111, "Internal Position Command %d-Rotation Number"},
        {62112, "Internal Position Command %d-Pulse Number"},
        {62113, "Internal Position Command %d-Move Speed"},
        {1017, "Internal position point automatic operation delay time 1"},
        {61620, "Internal Speed Command 1"},
        {61612, "Speed Loop Gain 1"},
        {61526, "DI-1 Pin Function Planning"},
        {63863, "Mapping Parameter Address Setting"},
        {61959, "CPU Software Ver."},
        {63967, "Series Type"},
        {63335, "ASIC Software Ver."},
        {62909, "Rated Speed"},
        {63396, "pole-pair"},
        {63397, "0.001 ohm/2 phase"},
        {63398, "0.001 mH/2 phase"},
    };
    for (const auto& [id, text] : quoted) {
        auto it = table_.find(id);
        ASSERT_NE(it, table_.end()) << id;
        EXPECT_EQ(it->second, text) << id;
    }
}

TEST_F(CatalogueScript, ExplanationPiecesAndFunctionDescriptionsHaveTexts) {
    for (int g = 0; g < ParamGroupCount; ++g) {
        const ParamGroupInfo& info = ParamGroupTable(static_cast<ParamGroup>(g));
        for (int n = 1; n <= info.count; ++n) {
            const std::string code = ParamCodeFromIndex(info.base + n);
            for (const TextPiece& piece : ParamExplanationPieces(code))
                EXPECT_TRUE(table_.contains(piece.id)) << code << " piece " << piece.id;
        }
    }
    // Every description starts with its function code in two hexadecimal digits.
    for (int c = 0; c <= 45; ++c) {
        auto it = table_.find(CodeNameTextId(c));
        ASSERT_NE(it, table_.end()) << "DI function " << c;
        EXPECT_EQ(it->second.substr(0, 4), FormatIntText("%02X: ", {c})) << it->second;
    }
    for (int c = 0; c <= 33; ++c) {
        auto it = table_.find(TypeNameTextId(c));
        ASSERT_NE(it, table_.end()) << "DO function " << c;
        EXPECT_EQ(it->second.substr(0, 4), FormatIntText("%02X: ", {c})) << it->second;
    }
}

TEST_F(CatalogueScript, TextsThroughTheResourceModule) {
    ScopedResourceModule current(module_);
    const StringLoader load = ResourceStringLoader();
    EXPECT_EQ(ParamTitle("Pn406", load), "Internal Position Command 2-Move Speed");
    EXPECT_EQ(ParamTitle("qn507", load), "Position Loop Feed Forward Gain");
    EXPECT_EQ(ParamTitle("tn862", load), ParamTitle("Pn310", load)); // twins share their title
    EXPECT_EQ(ParamUnitText("onU02", CatalogueContext(), load), "pole-pair");
    EXPECT_EQ(ParamUnitText("onS03", CatalogueContext(), load), "0.1%Rated Speed");
    EXPECT_EQ(TypeNameText(1, load), "01: RDY - Servo Ready\n");
    EXPECT_EQ(ParamExplanation("Hn601", load).substr(0, 44), "Hn601.1 && Hn601.0DI-1 Pin Function Planning");
}

} // namespace

namespace {

// Every parameter the editor's table can list for a series shows a name there: an untitled one its
// printed group name and number.
TEST_F(CatalogueScript, EveryParameterOfSeries4And5HasAName) {
    ScopedResourceModule current(module_);
    const StringLoader load = ResourceStringLoader();
    const ParamGroup shown[] = {GroupCn,  GroupTn,  GroupSn,  GroupPn3, GroupPn4, Groupqn,  GroupHn,
                                GroupEn,  Grouptn,  GroupEC,  GroupMAb, GrouponT, GrouponS, Groupond,
                                GrouponC, Groupono, GrouponA, GrouponE, GrouponU};
    for (int series : {4, 5}) {
        CatalogueContext context;
        context.seriesCode = series;
        context.debugMode = true;
        int listed = 0;
        for (ParamGroup g : shown) {
            const ParamGroupInfo& info = ParamGroupTable(g);
            for (int n = 1; n <= info.count; ++n) {
                const std::string code = ParamCodeFromIndex(info.base + n);
                if (!ParamInSeries(code, context))
                    continue;
                ++listed;
                EXPECT_FALSE(ParamTitle(code, load).empty()) << "series " << series << ": " << code;
            }
        }
        EXPECT_GT(listed, 400) << series;
    }
}

} // namespace
