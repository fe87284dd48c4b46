#include "transfer/InterfaceLineFormat.h"
#include "common/failure.h"

#include <gtest/gtest.h>

#include <optional>

using namespace pendra;
using namespace pendra::transfer;

namespace {

using Column = InterfaceLineFormat::Column;

// A record's values as the database delivers them; nothing stands for Null.
std::vector<Cell> record(std::initializer_list<std::optional<std::string>> values) {
    std::vector<Cell> cells;
    for (const auto& value : values) {
        cells.push_back(value ? Cell{false, *value} : Cell{});
    }
    return cells;
}

// Text columns with the given names.
std::vector<Column> textColumns(std::initializer_list<const char*> names) {
    std::vector<Column> columns;
    for (const char* name : names) {
        columns.push_back({name, ValueKind::Text});
    }
    return columns;
}

InterfaceLineFormat format(std::vector<Column> columns, const char* separator = ";",
                           const char* currency = "EUR") {
    return InterfaceLineFormat(QStringLiteral("Sicht"), std::move(columns), separator, currency);
}

}  // namespace

TEST(InterfaceLineFormat, EmptyValuesVanishAndASingleBlankLeavesAnEmptyFieldEvenAtTheEnd) {
    auto lines = format(textColumns({"Nr", "a", "b", "c"}), "@");
    EXPECT_EQ(lines.format(record({"1", "a", "", "c"})), "1@a@c");
    EXPECT_EQ(lines.format(record({"2", "a", std::nullopt, std::nullopt})), "2@a@");
    EXPECT_EQ(lines.format(record({"3", std::nullopt, "b", " "})), "3@b@@");
    EXPECT_EQ(lines.format(record({"4", "a@b", "c", "d"})), "4@a@b@c@d");
}

TEST(InterfaceLineFormat, ValuesAreWrittenByTheirKind) {
    auto lines = format(
        {{"Datum", ValueKind::Date}, {"Kurs", ValueKind::Decimal}, {"Beleg", ValueKind::Text}});
    EXPECT_EQ(lines.format(record({"2026-03-05", "1.5", "2026-03-05"})),
              "05.03.2026;1,5;2026-03-05");
}

TEST(InterfaceLineFormat, CorrectionKeyAfterColumnTwoWaitsForTheNextRecord) {
    auto lines = format(textColumns({"a", "Nr", "b", "c", "Korrkz"}));
    // Row 2 gets row 1's key; row 3's key reaches row 4's empty column 2 only to wait, and is
    // cleared by row 4's own Korrkz of 1 before row 5.
    EXPECT_EQ(lines.format(record({"x", "1", "1200", "y", "40"})), "x;1;1200;y;");
    EXPECT_EQ(lines.format(record({"x", "2", "1200", "y", "0"})), "x;2;40001200;y;");
    EXPECT_EQ(lines.format(record({"x", "3", "10000", "y", "41"})), "x;3;10000;y;");
    EXPECT_EQ(lines.format(record({"x", "4", std::nullopt, "y", "1"})), "x;4;y;");
    EXPECT_EQ(lines.format(record({"x", "5", " ", "y", "7"})), "x;5;;y;");
}

TEST(InterfaceLineFormat, AKeyBeforeColumnTwoCorrectsItsOwnRecordOnce) {
    auto lines = format({{"Wert", ValueKind::Decimal},
                         {"KorrKz", ValueKind::Integer},
                         {"Gegenkonto", ValueKind::Text},
                         {"Konto", ValueKind::Text}});
    EXPECT_EQ(lines.format(record({"89.9", "40", "4930", "1210"})), "8990;40004930;1210");
    EXPECT_EQ(lines.format(record({"10", "0", "4930", "1210"})), "1000;4930;1210");
    // 0 or 1 in any notation is no key; a five-digit account is widened to six.
    EXPECT_EQ(lines.format(record({"10", "1.00", "4930", "1210"})), "1000;4930;1210");
    EXPECT_EQ(lines.format(record({"10", "40", "12345", "1210"})), "1000;40012345;1210");
}

TEST(InterfaceLineFormat, AKeyHeldAsTextIsNoKeyOnlyWhenItReadsExactlyZeroOrOne) {
    auto lines = format(textColumns({"a", "KorrKz", "b"}));
    EXPECT_EQ(lines.format(record({"x", "1", "1200"})), "x;1200");
    EXPECT_EQ(lines.format(record({"x", "0", "1200"})), "x;1200");
    for (const char* key : {"01", " 1", "1,0", "1.0"}) {
        EXPECT_EQ(lines.format(record({"x", key, "1200"})), std::string("x;") + key + "001200;")
            << key;
    }
}

TEST(InterfaceLineFormat, ALineBreakInsideAValueBecomesOneBlank) {
    auto lines = format(textColumns({"a", "Text", "c"}));
    EXPECT_EQ(lines.format(record({"x", "Zeile 1\r\nZeile 2\nZeile 3\rEnde", "y"})),
              "x;Zeile 1 Zeile 2 Zeile 3 Ende;y");
}

TEST(InterfaceLineFormat, OnlyTheTwoSpellingsOfTheKeyColumnAreKeys) {
    auto lines = format(textColumns({"a", "KORRKZ", "b"}));
    EXPECT_EQ(lines.format(record({"x", "40", "1200"})), "x;40;1200");
    auto keyed = format(textColumns({"a", "KorrKz", "b"}));
    EXPECT_EQ(keyed.format(record({"x", "40", "1200"})), "x;40001200;");
}

TEST(InterfaceLineFormat, AmountsGoInHundredthsAndKeepTheirSeparatorAtTheEnd) {
    auto lines = format(textColumns({"Nr", "Skbetr", "wert", "Wert"}));
    EXPECT_EQ(lines.format(record({"1", "0.125", "2.5", "1234.5"})), "1;12;2.5;123450;");
    EXPECT_EQ(lines.format(record({"2", std::nullopt, "", "-12.34"})), "2;-1234;");
}

TEST(InterfaceLineFormat, AnAmountThatIsNoNumberNamesValueColumnAndView) {
    auto lines = format(textColumns({"Nr", "Wert"}));
    try {
        lines.format(record({"2", "viel"}));
        FAIL() << "an amount that is no number must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(),
                  QStringLiteral("Der Betrag \"viel\" in Spalte Wert der Sicht \"Sicht\" ist "
                                 "keine Zahl."));
    }
}

TEST(InterfaceLineFormat, TheCurrencyColumnTakesTheGivenCurrencyWhenItHoldsAValue) {
    auto lines = format(textColumns({"Nr", "Ausdr9"}));
    EXPECT_EQ(lines.format(record({"1", "USD"})), "1;EUR;");
    EXPECT_EQ(lines.format(record({"2", std::nullopt})), "2;");
    auto withoutCurrency = format(textColumns({"Nr", "Ausdr9"}), ";", "");
    EXPECT_EQ(withoutCurrency.format(record({"3", "EUR"})), "3;;");
}
