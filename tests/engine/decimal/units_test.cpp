// Unit conversion and the platform's text of a double: every printed factor comes out as printed, the
// edge cases worth keeping, the refusals; the writing and the lenient reading of doubles.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "decimal/double_text.h"
#include "decimal/func_lib_dec.h"

namespace ovn {
namespace {

ErrorNumber ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  ADD_FAILURE() << "no error raised";
  return ErrorNumber::kCancelled;
}

struct PrintedTable {
  std::string code;
  std::vector<std::vector<std::string>> factors;  // row: from, column: to
};

// The factor tables as printed: 15 significant digits, as the platform writes a double.
// clang-format off
const std::vector<PrintedTable> kPrintedTables = {
    {"MASS", {
        {"1", "0.001", "6.85220500053478E-05", "0.00220462291469134", "0.0352739718003627", "6.25E-05"},
        {"1000", "1", "0.0685220500053478", "2.20462291469134", "35.2739718003627", "0.0625"},
        {"14593.8424189287", "14.5938424189287", "1", "32.1739194101647", "514.782785944229", "0.912115151183045"},
        {"453.592309748811", "0.453592309748811", "0.0310810749306493", "1", "16.000002342941", "0.0283495193593007"},
        {"28.3495152079732", "0.0283495152079732", "0.00194256689870811", "0.0624999908478882", "1", "0.00177184470049833"},
        {"16000", "16", "1.09635280008556", "35.2739666350614", "564.383548805803", "1"},
    }},
    {"LONG", {
        {"1", "0.000621371192237334", "0.000539956803455724", "39.3700787401575", "3.28083989501312", "1.09361329797891", "2834.64566929116"},
        {"1609.344", "1", "0.868976241900648", "63360", "5280", "1759.99999942257", "4561919.99999971"},
        {"1852", "1.15077944802354", "1", "72913.3858267717", "6076.1154855643", "2025.37182785694", "5249763.77952723"},
        {"0.0254", "1.57828282828283E-05", "1.37149028077754E-05", "1", "0.0833333333333333", "0.0277777777686643", "71.9999999999955"},
        {"0.3048", "0.000189393939393939", "0.000164578833693305", "12", "1", "0.333333333223972", "863.999999999946"},
        {"0.9144000003", "0.00056818181836823", "0.000493736501241901", "36.000000011811", "3.00000000098425", "1", "2592.00000085023"},
        {"0.0003527777777778", "2.19205948372629E-07", "1.90484761219114E-07", "0.0138888888888898", "0.00115740740740748", "0.000385802469009251", "1"},
    }},
    {"VOLUME", {
        {"1", "202.84", "67.6133333333333", "33.8066666666667", "4.22583333333333", "2.11291666666667", "1.75975569552166", "1.05645833333333", "0.264114583333333"},
        {"0.0049299940840071", "1", "0.333333333333333", "0.166666666666667", "0.0208333333333333", "0.0104166666666667", "0.0086755851682196", "0.00520833333333333", "0.00130208333333333"},
        {"0.0147899822520213", "3", "1", "0.5", "0.0625", "0.03125", "0.0260267555046588", "0.015625", "0.00390625"},
        {"0.0295799645040426", "6", "2", "1", "0.125", "0.0625", "0.0520535110093176", "0.03125", "0.0078125"},
        {"0.236639716032341", "48", "16", "8", "1", "0.5", "0.416428088074541", "0.25", "0.0625"},
        {"0.473279432064682", "96", "32", "16", "2", "1", "0.832856176149081", "0.5", "0.125"},
        {"0.568260698087162", "115.266", "38.422", "19.211", "2.401375", "1.2006875", "1", "0.60034375", "0.1500859375"},
        {"0.946558864129363", "192", "64", "32", "4", "2", "1.66571235229816", "1", "0.25"},
        {"3.78623545651746", "768", "256", "128", "16", "8", "6.66284940919265", "4", "1"},
    }},
    {"ENERGY", {
        {"1", "9999995.19343231", "0.239006249473467", "0.238846190642017", "6.241457E+18", "3.72506430801E-07", "0.000277777916238711", "23.7304222192651", "0.000947815067349015"},
        {"1.000000480657E-07", "1", "2.39006364353494E-08", "2.38846305445111E-08", "624146000000", "3.72506609848824E-14", "2.77778049754611E-11", "2.37304336254586E-06", "9.47815522922962E-11"},
        {"4.18399101363672", "41839890.0257312", "1", "0.999330315287563", "2.61142E+19", "1.55856355899327E-06", "0.0011622203053295", "99.2878733152102", "0.00396564972437776"},
        {"4.18679484613929", "41867928.3372801", "1.00067013349059", "1", "2.61317E+19", "1.55960800463137E-06", "0.00116299914807955", "99.3544094443283", "0.00396830723907002"},
        {"1.60219000146921E-19", "1.60218923136574E-12", "3.82933423195043E-20", "3.82676978535648E-20", "1", "5.96826078912344E-26", "4.45053000026614E-23", "3.80206452103492E-18", "1.51857982414846E-22"},
        {"2684517.4131617", "26845161228302.4", "641616.438565991", "641186.757845835", "1.67553E+25", "1", "745.699653134593", "63704731.6692964", "2544.42605275546"},
        {"3599.9982055472", "35999964751.8369", "860.422069219046", "859.845857713046", "2.2469234E+22", "0.00134102248243839", "1", "85429.4774062316", "3.41213254164705"},
        {"0.0421400003236424", "421399.80068766", "0.0100717234301644", "0.0100649785509554", "2.63015E+17", "1.5697421114513E-08", "1.17055614802E-05", "1", "3.99409272448406E-05"},
        {"1055.05813786749", "10550576307.4665", "252.165488508168", "251.99661713551", "6.5851E+21", "0.000393015941224568", "0.293071851047526", "25036.9750774671", "1"},
    }},
    {"PRESSURE", {
        {"1", "9.86923299998193E-06", "0.00750061707998627"},
        {"101324.996583", "1", "760"},
        {"133.322363925", "0.00131578947368421", "1"},
    }},
    {"STRONG", {
        {"1", "100000", "0.224808923655339"},
        {"1E-05", "1", "2.24808923655339E-06"},
        {"4.448222", "444822.2", "1"},
    }},
    {"CAPACITY", {
        {"1", "0.00134102006031908"},
        {"745.701", "1"},
    }},
    {"MAGNET", {
        {"1", "10000"},
        {"0.0001", "1"},
    }},
};
// clang-format on

class UnitsTest : public ::testing::Test {
 protected:
  FuncLibDec engine;
};

TEST_F(UnitsTest, EveryFactorIsThePrintedTextWrittenOut) {
  for (const PrintedTable& table : kPrintedTables) {
    const auto size = static_cast<std::int16_t>(table.factors.size());
    for (std::int16_t from = 0; from < size; ++from) {
      for (std::int16_t to = 0; to < size; ++to) {
        const std::string& printed =
            table.factors[static_cast<std::size_t>(from)][static_cast<std::size_t>(to)];
        EXPECT_EQ(engine.UnitsTrans("1", table.code, from, to), engine.ToExtNum(printed))
            << table.code << " " << from << " to " << to;
      }
    }
  }
}

TEST_F(UnitsTest, ConversionsWorthKeeping) {
  struct Case {
    std::string value;
    std::string kind;
    std::int16_t from;
    std::int16_t to;
    std::string expected;
  };
  const Case cases[] = {{"1", "MASS", 1, 0, "1000"},
                        {"1", "MASS", 0, 1, "0.001"},
                        {"2", "MAGNET", 0, 1, "20000"},
                        {"1", "PRESSURE", 1, 2, "760"},
                        {"1", "ENERGY", 0, 4, "6241457000000000000"},
                        {"-3", "MASS", 2, 5, "-2.736345453549135"},  // 3 x 0.912115151183045
                        {"12.50", "LONG", 3, 3, "12.5"},
                        {"0", "STRONG", 0, 1, "0"},
                        {"", "CAPACITY", 1, 0, "0"},
                        {".5", "VOLUME", 8, 1, "384"}};
  for (const Case& c : cases) {
    EXPECT_EQ(engine.UnitsTrans(c.value, c.kind, c.from, c.to), c.expected) << c.value << " " << c.kind;
  }
}

TEST_F(UnitsTest, UnknownKindsUnitsAndValuesAreRefused) {
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "TIME", 0, 0); }), ErrorNumber::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "mass", 0, 0); }), ErrorNumber::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "", 0, 0); }), ErrorNumber::kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "MASS", 6, 0); }), ErrorNumber::kIndexOutOfRange);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "MAGNET", 0, 2); }), ErrorNumber::kIndexOutOfRange);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1", "LONG", -1, 0); }), ErrorNumber::kIndexOutOfRange);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans("1,5", "MASS", 0, 1); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { engine.UnitsTrans(std::string(32767, '9'), "ENERGY", 0, 4); }),
            ErrorNumber::kOverflow);
}

// ---- The platform's text of a double ----

TEST(DoubleTextTest, WritesFifteenDigitsPlainFromOneTenThousandthToBelowTenToTheFifteen) {
  const std::pair<double, std::string> cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {-0.5, "-0.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1e-4, "0.0001"},
      {9.99999999999999e-5, "9.99999999999999E-05"},
      {9.999999999999999e-5, "0.0001"},  // rounds up into the plain range
      {1e-5, "1E-05"},
      {-2.5e-7, "-2.5E-07"},
      {123456789012345.6, "123456789012346"},
      {999999999999999.4, "999999999999999"},
      {999999999999999.5, "1E+15"},
      {1e15, "1E+15"},
      {1234567890123455.0, "1.23456789012346E+15"},  // a tie, rounded away from zero
      {-1234567890123455.0, "-1.23456789012346E+15"},
      {6.241457e18, "6.241457E+18"},
      {1e100, "1E+100"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(DoubleToText(value), expected) << value;
  EXPECT_EQ(ErrorOf([] { DoubleToText(std::numeric_limits<double>::infinity()); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { DoubleToText(std::nan("")); }), ErrorNumber::kOverflow);
}

TEST(DoubleTextTest, ReadsTheLongestLeadingNumber) {
  const std::pair<std::string, double> cases[] = {{"", 0.0},
                                                  {"x1", 0.0},
                                                  {".", 0.0},
                                                  {"-", 0.0},
                                                  {"-.", 0.0},
                                                  {".5", 0.5},
                                                  {"5.", 5.0},
                                                  {"-.5", -0.5},
                                                  {"+5", 5.0},
                                                  {"  12abc", 12.0},
                                                  {"1.5.3", 1.5},
                                                  {"1e", 1.0},
                                                  {"1E+", 1.0},
                                                  {"1e5x", 1e5},
                                                  {"2.5E-3", 2.5e-3},
                                                  {"1,5", 1.0},
                                                  {"1e-400", 0.0},
                                                  {"-1e-400", -0.0},
                                                  {"007", 7.0},
                                                  {"1 2", 1.0},
                                                  {"0.000189393939393939", 0.000189393939393939},
                                                  {"6.85220500053478E-05", 6.85220500053478E-05}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(TextToDouble(text), expected) << text;
  EXPECT_EQ(ErrorOf([] { TextToDouble("1E400"); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { TextToDouble("-1" + std::string(400, '0')); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([] { TextToDouble("1e99999999999999999999"); }), ErrorNumber::kOverflow);
}

TEST(DoubleTextTest, FifteenDigitsSurviveTheRoundTrip) {
  for (const double value : {0.1, 1.0 / 7, 123.456, 6.02214076e23, 1.602176634e-19, -98765.4321}) {
    const std::string text = DoubleToText(value);
    EXPECT_EQ(DoubleToText(TextToDouble(text)), text);
  }
}

}  // namespace
}  // namespace ovn
