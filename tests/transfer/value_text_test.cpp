#include "transfer/value_text.h"
#include "transfer/KontoKorrect.h"

#include <gtest/gtest.h>

using namespace pendra;
using namespace pendra::transfer;

namespace {

std::string text(ValueKind kind, std::string_view raw) {
    std::string out;
    value_text::append(kind, raw, out);
    return out;
}

}  // namespace

TEST(ValueText, AmountsAreRoundedHalfToEvenOnTheDecimalValueAndWrittenInHundredths) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234.5", "123450"}, {"-12.34", "-1234"}, {"0.1", "10"},     {"0", "0"},
        {"0.125", "12"},      {"0.135", "14"},     {"2.675", "268"},  {"0.1251", "13"},
        {"-0.004", "0"},      {"-0.005", "0"},     {"-0.015", "-2"},  {"99.995", "10000"},
        {"1e3", "100000"},    {"1.5E-2", "2"},     {"12,34", "1234"}, {"17", "1700"},
    };
    for (const auto& [raw, expected] : cases) {
        EXPECT_EQ(value_text::hundredths(raw), std::optional<std::string>(expected)) << raw;
    }
    for (const char* bad : {"", "abc", "12.3.4", "1e", "--1", "1e999"}) {
        EXPECT_EQ(value_text::hundredths(bad), std::nullopt) << bad;
    }
}

TEST(ValueText, NumbersAndDatesReadAsUnderGermanRegionalSettings) {
    EXPECT_EQ(text(ValueKind::Decimal, "1234.5"), "1234,5");
    EXPECT_EQ(text(ValueKind::Decimal, "100.0"), "100");
    EXPECT_EQ(text(ValueKind::Decimal, "-0.25"), "-0,25");
    EXPECT_EQ(text(ValueKind::Decimal, "1.0e-05"), "0,00001");
    EXPECT_EQ(text(ValueKind::Decimal, "n/a"), "n/a");
    EXPECT_EQ(text(ValueKind::Integer, "0101"), "0101");
    EXPECT_EQ(text(ValueKind::Date, "2026-01-05"), "05.01.2026");
    EXPECT_EQ(text(ValueKind::Timestamp, "2026-12-31 00:00:00"), "31.12.2026");
    EXPECT_EQ(text(ValueKind::Timestamp, "2026-12-31 14:05:09.250"), "31.12.2026 14:05:09");
    EXPECT_EQ(text(ValueKind::Date, "morgen"), "morgen");
    EXPECT_EQ(text(ValueKind::Text, "1.5"), "1.5");
}

TEST(ValueText, OnlyNumbersEqualToZeroOrOneClearACorrectionKey) {
    for (const char* yes : {"0", "1", "0.0", "1.00", " 1"}) {
        EXPECT_TRUE(value_text::isZeroOrOne(yes)) << yes;
    }
    for (const char* no : {"40", "10", "-1", "0.5", "", "B"}) {
        EXPECT_FALSE(value_text::isZeroOrOne(no)) << no;
    }
}

TEST(KontoKorrect, FourAndFiveDigitAccountsAreWidenedToSixBehindTheKey) {
    const QString key = QStringLiteral("40");
    EXPECT_EQ(KontoKorrect::KorrKonto(QStringLiteral("1200"), key), QStringLiteral("40001200"));
    EXPECT_EQ(KontoKorrect::KorrKonto(QStringLiteral("10000"), key), QStringLiteral("40010000"));
    EXPECT_EQ(KontoKorrect::KorrKonto(QStringLiteral("123456"), key), QStringLiteral("40123456"));
    EXPECT_EQ(KontoKorrect::KorrKonto(QStringLiteral("120"), key), QStringLiteral("40120"));
}
