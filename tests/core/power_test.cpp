#include "power.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats.h"

namespace quorvane {
namespace {

// A window stand-in: four texts in, the result box out, and a record of the reads.
class FakeView : public CalculatorView {
  public:
    std::map<Input, std::string> texts{{Input::Density, "997.01"},
                                       {Input::Head, "30"},
                                       {Input::Flow, "60"},
                                       {Input::Efficiency, "70"}};
    std::string power = "stale";
    std::vector<Input> reads;
    bool failReads = false;
    bool failWrites = false;
    int writes = 0;

    // A window that fails throws; without exceptions, no window fails.
    static void Fail() {
#if defined(__cpp_exceptions)
        throw std::runtime_error("window gone");
#endif
    }

    std::string InputText(Input box) override {
        reads.push_back(box);
        if (failReads) Fail();
        return texts.at(box);
    }
    void SetPowerText(std::string_view text) override {
        ++writes;
        if (failWrites) Fail();
        power = text;
    }
};

struct PowerRow {
    std::string name;
    std::map<Input, std::string> changes;
    std::string shown;  // text left in the result box; empty when it cannot be computed
    const NumberFormat* format = &test::kEnglish;
};

void PrintTo(const PowerRow& row, std::ostream* out) {
    *out << row.name;
}

class PowerTable : public ::testing::TestWithParam<PowerRow> {};

TEST_P(PowerTable, ShowsRoundedPowerOrEmpties) {
    const PowerRow& row = GetParam();
    FakeView view;
    for (const auto& [box, text] : row.changes) view.texts[box] = text;
    const std::optional<double> result = Power(view, *row.format);
    EXPECT_EQ(view.power, row.shown);
    EXPECT_EQ(view.writes, 1);
    EXPECT_EQ(result.has_value(), !row.shown.empty());
    if (result) {
        EXPECT_EQ(DoubleToText(*result, *row.format), row.shown);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, PowerTable, ::testing::Values(
    PowerRow{"Defaults", {}, "6.983"},
    PowerRow{"HydraulicPower", {{Input::Efficiency, "100"}}, "4.888"},
    PowerRow{"DoubleFlow", {{Input::Flow, "120"}}, "13.967"},
    // Folding the constants, or multiplying by 100 before dividing by the efficiency, changes
    // the last digit of these two.
    PowerRow{"InOrderA", {{Input::Density, "1000"}, {Input::Head, "9"}, {Input::Flow, "50"}, {Input::Efficiency, "50"}}, "2.451"},
    PowerRow{"InOrderB", {{Input::Density, "1000"}, {Input::Head, "18"}, {Input::Flow, "220"}, {Input::Efficiency, "40"}}, "26.967"},
    // Q * (b / 3600) would give 12.258.
    PowerRow{"InOrderC", {{Input::Density, "600"}, {Input::Head, "21"}, {Input::Flow, "250"}, {Input::Efficiency, "70"}}, "12.257"},
    PowerRow{"NegativeHead", {{Input::Head, "-30"}}, "-6.983"},
    PowerRow{"EfficiencyAbove100IsComputedHere", {{Input::Efficiency, "140"}}, "3.492"},
    PowerRow{"ZeroHead", {{Input::Head, "0"}}, "0"},
    PowerRow{"TinyNegativeIsZero", {{Input::Head, "-0.0001"}}, "0"},
    PowerRow{"ZeroEfficiency", {{Input::Efficiency, "0"}}, ""},
    PowerRow{"ZeroOverZero", {{Input::Head, "0"}, {Input::Efficiency, "0"}}, ""},
    PowerRow{"EmptyDensity", {{Input::Density, ""}}, ""},
    PowerRow{"EmptyHead", {{Input::Head, ""}}, ""},
    PowerRow{"EmptyFlow", {{Input::Flow, ""}}, ""},
    PowerRow{"BlankEfficiency", {{Input::Efficiency, "  "}}, ""},
    PowerRow{"Letters", {{Input::Flow, "6O"}}, ""},
    PowerRow{"OutOfRangeText", {{Input::Density, "1e400"}}, ""},
    PowerRow{"StageOverflow", {{Input::Density, "1e306"}, {Input::Head, "1e3"}}, ""},
    PowerRow{"FlowProductOverflows", {{Input::Density, "1e300"}, {Input::Flow, "1e10"}}, ""},
    PowerRow{"QuotientOverflows", {{Input::Density, "1e300"}, {Input::Efficiency, "1e-10"}}, ""},
    PowerRow{"LargeButFinite", {{Input::Density, "1e290"}, {Input::Head, "1"}, {Input::Flow, "1"}}, "3.89126984126984E+284"},
    PowerRow{"Grouped", {{Input::Flow, "1,000"}}, "116.389"},
    PowerRow{"StrayGroupSeparator", {{Input::Flow, "6,0"}}, ""},
    PowerRow{"German", {{Input::Density, "997,01"}}, "6,983", &test::kGerman},
    PowerRow{"GermanReadsNoFullStopDecimals", {}, "", &test::kGerman},
    PowerRow{"FrenchGrouping", {{Input::Density, "997,01"}, {Input::Flow, "1 000"}}, "116,389", &test::kFrench}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(Power, ReadsAllFourTextsFirstInOrder) {
    FakeView view;
    view.texts[Input::Density] = "not a number";
    Power(view, test::kEnglish);
    EXPECT_EQ(view.reads,
              (std::vector<Input>{Input::Density, Input::Head, Input::Flow, Input::Efficiency}));
    EXPECT_EQ(view.power, "");
}

#if defined(__cpp_exceptions)
TEST(Power, AFailingViewEmptiesTheResultAndNeverThrows) {
    FakeView view;
    view.failReads = true;
    EXPECT_EQ(Power(view, test::kEnglish), std::nullopt);
    EXPECT_EQ(view.power, "");

    FakeView deaf;  // even emptying the result box fails
    deaf.failWrites = true;
    EXPECT_EQ(Power(deaf, test::kEnglish), std::nullopt);
    EXPECT_EQ(deaf.writes, 2);
}
#endif

TEST(Power, KeepsNoStateBetweenCalls) {
    FakeView view;
    view.texts[Input::Efficiency] = "0";
    Power(view, test::kEnglish);
    view.texts[Input::Efficiency] = "70";
    EXPECT_EQ(Power(view, test::kEnglish), 6.983);
    EXPECT_EQ(view.power, "6.983");
}

}  // namespace
}  // namespace quorvane
