// Building the texts of every parameter row of one series (code, title, value, unit, range,
// default), as the parameter table and the printout do. Budget: well under 2 ms per series.
#include "catalogue/DocumentGlobals.h"
#include "catalogue/KeloServoDoc.h"
#include "catalogue/ParamAttributes.h"
#include "catalogue/ParamTexts.h"

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

namespace {

// Stands in for the resource library's string table: one lookup per text, as in the program.
const StringLoader& Strings() {
    static const std::unordered_map<int, std::string> table = [] {
        std::unordered_map<int, std::string> t;
        for (int id = 0; id < 65536; ++id)
            t.emplace(id, "Parameter title text " + std::to_string(id));
        return t;
    }();
    static const StringLoader load = [](int id) {
        auto it = table.find(id);
        return it == table.end() ? std::string() : it->second;
    };
    return load;
}

struct Row {
    std::string code, title, value, unit, range, def;
};

void BM_AllRowTextsOfOneSeries(benchmark::State& state) {
    SeriesCode = static_cast<int>(state.range(0));
    CKeloServoDoc doc;
    doc.OnNewDocument();
    const CatalogueContext context = doc.Context();
    std::vector<Row> rows;
    rows.reserve(1000);
    for (auto _ : state) {
        rows.clear();
        for (int g = 0; g < DocGroupCount; ++g) {
            const DocGroup group = static_cast<DocGroup>(g);
            for (int n = 1; n <= DocGroupSize(group); ++n) {
                std::string code = DocParamCode(group, n);
                if (!ParamInSeries(code, context))
                    continue;
                Row row;
                row.title = ParamTitle(code, Strings());
                row.value = FormatParamValue(code, doc.Value(group, n), context);
                row.unit = ParamUnitText(code, context, Strings());
                row.range = ParamRangeText(code, doc.Minimum(group, n), doc.Maximum(group, n), context);
                row.def = FormatParamValue(code, doc.Default(group, n), context);
                row.code = std::move(code);
                rows.push_back(std::move(row));
            }
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

} // namespace

BENCHMARK(BM_AllRowTextsOfOneSeries)->Arg(3)->Arg(4)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
