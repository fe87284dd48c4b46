#include "platform/codepage.h"

#include <gtest/gtest.h>

using namespace pendra::platform;

TEST(Codepage, GermanTextAndEuroSignUseTheirWindows1252Bytes) {
    const Encoded encoded = encodeAnsi(u"Übernehmen äöüß €");
    EXPECT_EQ(encoded.bytes, QByteArray("\xDC"
                                        "bernehmen \xE4\xF6\xFC\xDF \x80"));
    EXPECT_EQ(encoded.replaced, 0);
    EXPECT_EQ(fromAnsi(encoded.bytes), QStringLiteral("Übernehmen äöüß €"));
}

TEST(Codepage, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const Encoded back = encodeAnsi(fromAnsi(all));
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(back.replaced, 0);
}

TEST(Codepage, CharactersTheCodePageLacksBecomeOneQuestionMarkEachAndAreCounted) {
    // A Polish letter, a Cyrillic one and an emoji outside the basic plane.
    const Encoded encoded = encodeAnsi(QStringLiteral("Łódź Ж 😀!"));
    EXPECT_EQ(encoded.bytes, QByteArray("?\xF3"
                                        "d? ? ?!"));
    EXPECT_EQ(encoded.replaced, 4);
}
