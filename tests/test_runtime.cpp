// Runtime helpers: numbers, random, maths, time, parsing, formatting, strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

#include "gr.h"
#include "runtime/runtime_internal.h"

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();

template <typename... Args>
std::u16string fmt(const char16_t* f, Args... args) {
    char16_t buf[512];
    grFormat(buf, 512, f, args...);
    return buf;
}

std::u16string widen(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

// second, minute, hour, day, month, year, weekday, yearday, dst
std::array<int, 9> fields(const GrDateTime& t) {
    return {t.second, t.minute, t.hour, t.day, t.month, t.year, t.weekday, t.yearday, t.dst};
}

struct LocaleGuard {
    ~LocaleGuard() { std::setlocale(LC_ALL, "C"); }
};

}  // namespace

TEST(RuntimeNumbers, RoundingFamily) {
    EXPECT_EQ(grRound(2.5f), 3.0f);
    EXPECT_EQ(grRound(-2.5f), -3.0f);
    EXPECT_EQ(grRound(-2.4f), -2.0f);
    EXPECT_EQ(grRound(0.49999997f), 0.0f);  // would be 1 if added in float
    EXPECT_EQ(grRoundToInt(-0.5f), -1);
    EXPECT_EQ(grRoundToInt(2.5f), 3);
    EXPECT_EQ(grRoundToInt(-2.4f), -2);
    EXPECT_EQ(grRoundToInt(1e10f), kIntMax);
    EXPECT_EQ(grRoundToInt(-1e10f), kIntMin);
    EXPECT_EQ(grRoundToInt(std::nanf("")), 0);
    EXPECT_EQ(grTrunc(-1.7f), -1.0f);
    EXPECT_EQ(grCeil(-1.5f), -1.0f);
    EXPECT_EQ(grFloor(-1.5f), -2.0f);
    EXPECT_EQ(grPow(2.0f, 10.0f), 1024.0f);
}

TEST(RuntimeNumbers, SignAndAbs) {
    EXPECT_EQ(grCopySign(-3.0f, 0.0f), 3.0f);
    EXPECT_EQ(grCopySign(-3.0f, -0.0f), 3.0f);  // a zero s is positive
    EXPECT_EQ(grCopySign(3.0f, -1.0f), -3.0f);
    EXPECT_EQ(grCopySign(-3.0f, -1.0f), -3.0f);
    EXPECT_EQ(grCopySign(-3.0f, 2.0f), 3.0f);
    EXPECT_EQ(grFabs(-4.5f), 4.5f);
    EXPECT_EQ(grAbs(kIntMin), kIntMax);
}

TEST(RuntimeRandom, SequenceFromSeed) {
    grSeedRandom(1);  // the well-known first values of this generator
    for (int v : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(grRand(), v);

    const uint32_t seed = 0xDEADBEEFu;
    grSeedRandom(seed);
    uint64_t state = seed;
    for (int i = 0; i < 1000; ++i) {
        state = (state * 214013 + 2531011) % (uint64_t{1} << 32);
        ASSERT_EQ(grRand(), static_cast<int>(state / 65536 % 32768)) << "at " << i;
    }
}

TEST(RuntimeMath, DegreesAndEdgeCases) {
    EXPECT_EQ(grCbrt(-8.0f), -2.0f);
    EXPECT_EQ(grCbrt(27.0f), 3.0f);
    EXPECT_TRUE(std::isnan(grCbrt(std::nanf(""))));
    EXPECT_EQ(grLog2(8.0f), 3.0f);
    EXPECT_EQ(grLog10(1000.0f), 3.0f);
    const struct {
        float got, want;
    } cases[] = {
        {grSinDeg(90.0f), 1.0f}, {grCosDeg(60.0f), 0.5f}, {grTanDeg(45.0f), 1.0f},
        {grAsinDeg(1.0f), 90.0f}, {grAcosDeg(0.5f), 60.0f}, {grAtanDeg(1.0f), 45.0f}, {grAtan2Deg(1.0f, -1.0f), 135.0f}, {grAtan2Deg(-1.0f, 0.0f), -90.0f},
        {grSinhDeg(57.29578f), 1.1752012f}, {grCoshDeg(0.0f), 1.0f}, {grTanhDeg(-57.29578f), -0.7615942f},
        {grAsin(1.0f), 1.5707964f}, {grLn(7.389056f), 2.0f}, {grExp(1.0f), 2.7182817f},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_FLOAT_EQ(cases[i].got, cases[i].want) << "case " << i;
}

TEST(RuntimeTime, BreakDown) {
    GrDateTime t{};
    using F = std::array<int, 9>;
    ASSERT_TRUE(gr_runtime::breakDownTime(951782400, false, &t));  // a Tuesday, leap day
    EXPECT_EQ(fields(t), (F{0, 0, 0, 29, 2, 2000, 3, 60, 0}));
    ASSERT_TRUE(gr_runtime::breakDownTime(1483228799, false, &t));  // a Saturday
    EXPECT_EQ(fields(t), (F{59, 59, 23, 31, 12, 2016, 7, 366, 0}));
    ASSERT_TRUE(gr_runtime::breakDownTime(4102444800LL, false, &t));  // past 2038, a Friday
    EXPECT_EQ(fields(t), (F{0, 0, 0, 1, 1, 2100, 6, 1, 0}));

    std::tm leap{};
    leap.tm_sec = 60;
    gr_runtime::fillDateTime(leap, &t);
    EXPECT_EQ(t.second, 59);

    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "XYZ-3", 1);  // three hours east of UTC, no daylight saving
    tzset();
    ASSERT_TRUE(gr_runtime::breakDownTime(0, true, &t));
    EXPECT_EQ(fields(t), (F{0, 0, 3, 1, 1, 1970, 5, 1, 0}));
    if (oldTz) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST(RuntimeTime, CurrentTimeMatchesTheClock) {
    // The clock may tick between the reads, so either second is accepted.
    const time_t before = std::time(nullptr);
    GrDateTime utc{}, local{};
    grUtcTime(&utc);
    grLocalTime(&local);
    const time_t after = std::time(nullptr);
    grUtcTime(nullptr);
    grLocalTime(nullptr);
    auto matches = [&](const GrDateTime& got, bool isLocal) {
        for (time_t s : {before, after}) {
            std::tm tm{};
            if (isLocal) localtime_r(&s, &tm);
            else gmtime_r(&s, &tm);
            if (got.year == tm.tm_year + 1900 && got.month == tm.tm_mon + 1 && got.day == tm.tm_mday &&
                got.hour == tm.tm_hour && got.minute == tm.tm_min && got.second == std::min(tm.tm_sec, 59))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(matches(utc, false));
    EXPECT_TRUE(matches(local, true));
}

TEST(RuntimeParse, Numbers) {
    const struct {
        const char16_t* s;
        int32_t want;
    } ints[] = {{u"  42abc", 42}, {u"\t\n-17", -17}, {u"+5", 5},      {u"12.9", 12},
                {u"abc", 0},      {u"- 3", 0},       {u"", 0},        {nullptr, 0},
                {u"2147483647", kIntMax},            {u"-2147483648", kIntMin},
                {u"2147483648", kIntMax},            {u"-99999999999999999999999", kIntMin}};
    for (size_t i = 0; i < std::size(ints); ++i) EXPECT_EQ(grStrToInt(ints[i].s), ints[i].want) << "case " << i;

    EXPECT_EQ(grStrToUInt(u" 4294967295"), 4294967295u);
    EXPECT_EQ(grStrToUInt(u"4294967296"), 4294967295u);  // saturates
    EXPECT_EQ(grStrToUInt(u"-1"), 4294967295u);          // negated modulo 2^32
    EXPECT_EQ(grStrToUInt(u"123°"), 123u);

    EXPECT_EQ(grStrToFloat(u"  3.25x"), 3.25f);
    EXPECT_EQ(grStrToFloat(u"-1.5e3"), -1500.0f);
    EXPECT_EQ(grStrToFloat(u"+.5"), 0.5f);
    EXPECT_EQ(grStrToFloat(u"2e"), 2.0f);
    EXPECT_EQ(grStrToFloat(u"3,75"), 3.0f);  // the comma is never a separator
    EXPECT_EQ(grStrToFloat(u"12.5°C"), 12.5f);
    EXPECT_EQ(grStrToFloat(nullptr), 0.0f);
    EXPECT_EQ(grStrToFloat(u"1e300"), std::numeric_limits<float>::infinity());
}

TEST(RuntimeParse, PointWhateverTheLocale) {
    LocaleGuard restore;
    bool found = false;
    for (const char* n : {"de_DE.UTF-8", "de_DE.utf8", "ru_RU.UTF-8", "ru_RU.utf8"})
        if (!found && std::setlocale(LC_ALL, n) != nullptr) found = true;
    if (!found) GTEST_SKIP() << "no locale with a decimal comma installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(grStrToFloat(u"3.75"), 3.75f);
    EXPECT_EQ(grStrToFloat(u"3,75"), 3.0f);
    EXPECT_EQ(fmt(u"%.2f|%g|%e", 3.5, 0.25, 1.5), u"3.50|0.25|1.500000e+00");
}

TEST(RuntimeFormat, Conversions) {
    EXPECT_EQ(fmt(u"%d %i %u", -42, 7, 3000000000u), u"-42 7 3000000000");
    EXPECT_EQ(fmt(u"%x %X %#x %#X %#x %o %#o", 255, 255, 255, 255, 0, 8, 8), u"ff FF 0xff 0XFF 0 10 010");
    EXPECT_EQ(fmt(u"%hd %hhu %ld %lld %llu", 65537, 257, -5L, std::numeric_limits<long long>::min(),
                  std::numeric_limits<unsigned long long>::max()),
              u"1 1 -5 -9223372036854775808 18446744073709551615");
    EXPECT_EQ(fmt(u"%zu %jd", size_t{12}, intmax_t{-3}), u"12 -3");
    EXPECT_EQ(fmt(u"%f %.2f %.0f %#.0f %lf", 3.14159, 2.005, 2.5, 3.0, 1.25), u"3.141590 2.00 2 3. 1.250000");
    EXPECT_EQ(fmt(u"%e %.2E", 12345.678, 0.000123), u"1.234568e+04 1.23E-04");
    EXPECT_EQ(fmt(u"%g %g %G %#g %g", 0.0001, 1e-5, 1e20, 1.0, 100.0), u"0.0001 1e-05 1E+20 1.00000 100");
    EXPECT_EQ(fmt(u"%a %F %f %f", 1.0, 1.5, kInf, -std::nan("")), u"0x1p+0 1.500000 inf -nan");
    EXPECT_EQ(fmt(u"%c%c%c", 'A', 0x0416, 0x00B0), u"AЖ°");
    EXPECT_EQ(fmt(u"%s=%ls", u"Мкр%", u"x"), u"Мкр%=x");
    EXPECT_EQ(fmt(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
    EXPECT_EQ(fmt(u"t = %d°C, 100%%", 25), u"t = 25°C, 100%");
}

TEST(RuntimeFormat, WidthPrecisionFlags) {
    EXPECT_EQ(fmt(u"[%5d][%-5d][%05d][%+d][% d][%-05d]", 42, 42, -42, 5, 5, 42),
              u"[   42][42   ][-0042][+5][ 5][42   ]");
    EXPECT_EQ(fmt(u"[%.3d][%08.3d][%.0d][%+.3d]", 7, 7, 0, 7), u"[007][     007][][+007]");
    EXPECT_EQ(fmt(u"[%08.3f][%+.1e][%010.2e][%#010x][%08X]", -3.14159, 12.0, 1234.5, 255, 0xBEEFu),
              u"[-003.142][+1.2e+01][001.23e+03][0x000000ff][0000BEEF]");
    EXPECT_EQ(fmt(u"[%05f][%-6f][%012a]", kInf, -kInf, 1.0), u"[  inf][-inf  ][0x0000001p+0]");
    EXPECT_EQ(fmt(u"[%*d][%-*d][%*d]", 4, 1, 3, 2, -3, 3), u"[   1][2  ][3  ]");
    EXPECT_EQ(fmt(u"[%.*f][%.*f][%*.*f]", 2, 3.14159, -1, 1.5, 7, 1, 2.25), u"[3.14][1.500000][    2.2]");
    EXPECT_EQ(fmt(u"[%6s][%-6s][%.2s][%5.1s]", u"ab", u"ab", u"Мкр", u"xyz"), u"[    ab][ab    ][Мк][    x]");
    EXPECT_EQ(fmt(u"[%3c][%-3c]", 'z', 'z'), u"[  z][z  ]");

    // Padding and flags agree with the C library over many combinations.
    for (const char* flags : {"", "-", "0", "+", " ", "#", "-+", "0+", "0 ", "#0"})
        for (const char* width : {"", "1", "8"})
            for (const char* precision : {"", ".0", ".3"})
                for (char conv : {'d', 'x', 'o', 'f', 'e', 'g'}) {
                    const std::string d = std::string("%") + flags + width + precision + conv;
                    char want[64];
                    std::u16string got;
                    if (conv == 'f' || conv == 'e' || conv == 'g') {
                        std::snprintf(want, sizeof want, d.c_str(), 3.25);
                        got = fmt(widen(d.c_str()).c_str(), 3.25);
                    } else {
                        std::snprintf(want, sizeof want, d.c_str(), conv == 'd' ? -1234 : 1234);
                        got = fmt(widen(d.c_str()).c_str(), conv == 'd' ? -1234 : 1234);
                    }
                    EXPECT_EQ(got, widen(want)) << d;
                }
}

TEST(RuntimeFormat, InvalidConversionsAreCopiedWithoutReadingArguments) {
    EXPECT_EQ(fmt(u"%q %d", 7), u"%q 7");
    EXPECT_EQ(fmt(u"%*k %d", 7), u"%*k 7");
    EXPECT_EQ(fmt(u"%-5.2y|%n|%Lf|%hf|%hs %d", 8), u"%-5.2y|%n|%Lf|%hf|%hs 8");
    EXPECT_EQ(fmt(u"%ж %s", u"ok"), u"%ж ok");
    EXPECT_EQ(fmt(u"100%"), u"100%");
    EXPECT_EQ(fmt(u"end %5"), u"end %5");
}

TEST(RuntimeFormat, Truncation) {
    char16_t buf[8];
    auto reset = [&] { std::fill(std::begin(buf), std::end(buf), char16_t{0xBEEF}); };
    reset();
    EXPECT_EQ(grFormat(buf, 5, u"%.2f", 123.45), buf);
    EXPECT_EQ(std::u16string(buf), u"123.");
    EXPECT_EQ(buf[5], 0xBEEF);
    reset();
    grFormat(buf, 1, u"%d", 12345);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], 0xBEEF);
    reset();
    grFormat(buf, 0, u"%d", 1);
    grFormat(buf, -3, u"%d", 1);
    EXPECT_EQ(buf[0], 0xBEEF);
    EXPECT_EQ(grFormat(nullptr, 10, u"%d", 1), nullptr);

    // Cut inside literal text, padding, a string and a zero-padded number.
    const struct {
        std::u16string got, want;
    } cases[] = {
        {(reset(), grFormat(buf, 4, u"градус")), u"гра"},
        {(reset(), grFormat(buf, 4, u"%1000000d", 1)), u"   "},
        {(reset(), grFormat(buf, 4, u"%-1000000d", 42)), u"42 "},
        {(reset(), grFormat(buf, 6, u"%s", u"температура")), u"темпе"},
        {(reset(), grFormat(buf, 6, u"%+0900d", 5)), u"+0000"},
        {(reset(), grFormat(buf, 6, u"%.100000f", 1.0)), u"1.000"},
        {(reset(), grFormat(buf, 7, u"%c%.3s%c", 'a', u"bcdef", 'g')), u"abcdg"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(buf[7], 0xBEEF);

    // A precision far beyond the buffer: the width is measured against the
    // whole text, as the C library's text cut to size - 1 has it.
    const struct {
        std::u16string got, want;
    } beyond[] = {
        {(reset(), grFormat(buf, 8, u"%*.*d", 1500, 2000, 5)), u"0000000"},
        {(reset(), grFormat(buf, 8, u"%1500.2000f", 1.0)), u"1.00000"},
        {(reset(), grFormat(buf, 8, u"%1500.1106d", 5)), u"       "},
        {(reset(), grFormat(buf, 8, u"%-2500.2000x", 255u)), u"0000000"},
        {(reset(), grFormat(buf, 8, u"%#2500.2000g", 1.5)), u"       "},
        {(reset(), grFormat(buf, 8, u"%2500.2000g", 1.5)), u"       "},
        {(reset(), grFormat(buf, 8, u"%1500.2000e", -2.0)), u"-2.0000"},
        {(reset(), grFormat(buf, 8, u"%+1500.2000i", 7)), u"+000000"},
    };
    for (const auto& c : beyond) EXPECT_EQ(c.got, c.want);

    // A number longer than the internal buffer, whole and cut.
    char want[400];
    std::snprintf(want, sizeof want, "%.0f", 1e300);
    char16_t big[400], cut[40];
    EXPECT_EQ(std::u16string(grFormat(big, 400, u"%.0f", 1e300)), widen(want));
    EXPECT_EQ(std::u16string(grFormat(cut, 40, u"%.0f", 1e300)), widen(want).substr(0, 39));
}

TEST(RuntimeStrings, CopiesAndCounts) {
    char16_t d[32];
    EXPECT_EQ(std::u16string(grStrMid(d, u"ABCDEF", 2, 3)), u"CDE");
    EXPECT_EQ(std::u16string(grStrMid(d, u"ABC", 1, 10)), u"BC");
    EXPECT_EQ(std::u16string(grStrMid(d, u"ABC", 7, 2)), u"");
    EXPECT_EQ(std::u16string(grStrMid(d, u"ABC", -4, 2)), u"AB");
    EXPECT_EQ(std::u16string(grStrLeft(d, u"ABCDEF", 2)), u"AB");
    EXPECT_EQ(std::u16string(grStrCopyFrom(d, u"ABCDEF", 4)), u"EF");
    EXPECT_EQ(std::u16string(grStrCopyFrom(d, u"ABC", 99)), u"");
    EXPECT_EQ(std::u16string(grStrCopyFrom(d, u"ABC", -1)), u"ABC");

    // A count of 0 writes only the terminator; a negative one writes nothing.
    d[0] = u'x';
    d[1] = u'y';
    grStrMid(d, u"ABC", 0, -1);
    grStrLeft(d, u"ABC", -5);
    EXPECT_EQ(d[0], u'x');
    grStrMid(d, u"ABC", 0, 0);
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(d[1], u'y');

    EXPECT_EQ(grStrLen(u"Мкр%"), 4);
    EXPECT_EQ(grStrLen(nullptr), 0);
    EXPECT_EQ(grStrCmp(u"abc", u"abc"), 0);
    EXPECT_LT(grStrCmp(u"ab", u"abc"), 0);
    EXPECT_GT(grStrCmp(u"b", u"abc"), 0);
    EXPECT_GT(grStrCmp(u"\xFFFF", u"a"), 0);  // code units compare unsigned
}

TEST(RuntimeStrings, InsertAndDelete) {
    char16_t d[32];
    EXPECT_EQ(std::u16string(grStrInsert(d, u"XY", u"ABCD", 2)), u"ABXYCD");
    EXPECT_EQ(std::u16string(grStrInsert(d, u"XY", u"ABCD", 50)), u"ABCDXY");
    EXPECT_EQ(std::u16string(grStrInsert(d, u"XY", u"ABCD", -2)), u"XYABCD");
    EXPECT_EQ(std::u16string(grStrDelete(d, u"ABCDEF", 1, 2)), u"ADEF");
    EXPECT_EQ(std::u16string(grStrDelete(d, u"ABC", 1, 10)), u"A");
    EXPECT_EQ(std::u16string(grStrDelete(d, u"ABC", 5, 1)), u"ABC");
    EXPECT_EQ(std::u16string(grStrDelete(d, u"ABC", 1, -1)), u"ABC");

    // In place, and with the destination overlapping the source.
    char16_t s[32] = u"ABCD";
    EXPECT_EQ(std::u16string(grStrInsert(s, u"XY", s, 1)), u"AXYBCD");
    EXPECT_EQ(std::u16string(grStrInsert(s, s + 4, s, 0)), u"CDAXYBCD");
    EXPECT_EQ(std::u16string(grStrDelete(s, s, 2, 3)), u"CDBCD");
    EXPECT_EQ(std::u16string(grStrDelete(s + 1, s, 1, 1)), u"CBCD");
    EXPECT_EQ(std::u16string(grStrDelete(s, s + 1, 0, 1)), u"BCD");
    EXPECT_EQ(std::u16string(grStrMid(s, s, 1, 2)), u"CD");
}

TEST(RuntimeStrings, Search) {
    EXPECT_EQ(grStrFindNotOf(u"  12", u" "), 2);
    EXPECT_EQ(grStrFindNotOf(u"   ", u" "), -1);
    EXPECT_EQ(grStrFindNotOf(u"", u" "), -1);
    EXPECT_EQ(grStrFindOf(u"12:30", u":"), 2);
    EXPECT_EQ(grStrFindOf(u"1230", u":."), -1);
    EXPECT_EQ(grStrFind(u"об/м об/м", u"/м"), 2);
    EXPECT_EQ(grStrFind(u"abc", u""), 0);
    EXPECT_EQ(grStrFind(u"abc", u"abcd"), -1);
    EXPECT_EQ(grStrFind(u"aab", u"ab"), 1);
}

TEST(RuntimeStrings, CaseMappingFollowsTheCharacterLocale) {
    LocaleGuard restore;
    char16_t d[32];
    EXPECT_EQ(std::u16string(grStrUpper(d, u"abc-xyz1")), u"ABC-XYZ1");
    EXPECT_EQ(std::u16string(grStrLower(d, u"ABC-XYZ1")), u"abc-xyz1");
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(std::u16string(grStrUpper(d, u"масло тк%")), u"МАСЛО ТК%");
    EXPECT_EQ(std::u16string(grStrLower(d, u"МКР Ёж")), u"мкр ёж");
    char16_t s[16] = u"Об/м";
    EXPECT_EQ(std::u16string(grStrUpper(s, s)), u"ОБ/М");
}
