#include <gtest/gtest.h>

#include "framework/text.h"

using namespace fw;

TEST(Text, StrOfNumbersAndColours) {
  EXPECT_EQ(Str(std::int32_t{-42}), "-42");
  EXPECT_EQ(Str(1.0), "1");
  EXPECT_EQ(Str(-0.5), "-0.5");
  EXPECT_EQ(Str(0.1), "0.1");
  EXPECT_EQ(Str(-0.0), "0");  // no minus sign on a swapped zero axis
  EXPECT_EQ(Str(65535.0 / 65536.0), "0.9999847412109375");
  EXPECT_EQ(Str(0.1f), "0.1");  // shortest text of the single, not of its double value
  // Whatever Str writes, Val reads back to the same value.
  for (double v : {1e-5, 123456.789, -2.5e-7, 1.0 / 3.0}) EXPECT_EQ(Val(Str(v)), v);
  EXPECT_EQ(Str(RGB(255, 128, 0)), "&hFF8000");
  EXPECT_EQ(Str(RGB(0, 10, 171)), "&h000AAB");
}

TEST(Text, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("255G128"), 255);
  EXPECT_EQ(Val("-51"), -51);
  EXPECT_EQ(Val("&hFF"), 255);
  EXPECT_EQ(Val("&h80rest"), 128);
  EXPECT_EQ(Val("&Hff"), 255);
  EXPECT_EQ(Val("0.004"), 0.004);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("&h"), 0);
}

TEST(Text, RoundingAndTruncation) {
  EXPECT_EQ(Round(2.5), 3);
  EXPECT_EQ(Round(-2.5), -3);
  EXPECT_EQ(Round(2.4), 2);
  EXPECT_EQ(ToInt32(6.9), 6);
  EXPECT_EQ(ToInt32(-6.9), -6);
  EXPECT_EQ(ToInt32(1e12), 2147483647);
}

TEST(Text, StringFunctions) {
  EXPECT_EQ(InStr("R1G2B3M4", "M"), 7);
  EXPECT_EQ(InStr("abc", "z"), 0);
  EXPECT_EQ(Mid("R255G0", 2), "255G0");
  EXPECT_EQ(Mid("abc", 5), "");
  EXPECT_EQ(Mid("&hFF8000", 3, 2), "FF");
  EXPECT_EQ(Left("abc", 2), "ab");
  EXPECT_EQ(Len("abc"), 3);
}

TEST(Text, ChrAndAscRoundTripLatin1) {
  EXPECT_EQ(Chr(0xE8), "\xC3\xA8");  // è
  for (int code = 0; code < 256; ++code) EXPECT_EQ(Asc(Chr(code)), code) << code;
}
