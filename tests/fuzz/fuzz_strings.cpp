// The UTF-16 string helpers and number parsers on fuzzed strings,
// positions and counts. Every destination is allocated to exactly the size
// the result needs, so a unit written too many is a heap overflow, and each
// result is checked against the same operation on std::u16string.
#include <cerrno>
#include <cwchar>
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "gr.h"

namespace {

using Text = std::u16string;

size_t clampPos(int pos, size_t len) { return pos <= 0 ? 0 : std::min(static_cast<size_t>(pos), len); }

// A buffer of exactly n units, filled with a marker the result must cover.
std::unique_ptr<char16_t[]> exactBuffer(size_t n)
{
    std::unique_ptr<char16_t[]> b(new char16_t[n]);
    for (size_t i = 0; i < n; ++i)
        b[i] = u'\xBEEF';
    return b;
}

void expectText(const char16_t* got, const Text& want)
{
    FUZZ_CHECK(Text(got) == want);
}

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int op = in.below(14);
    const Text a = in.text(40), b = in.text(12);
    const int pos = in.below(2) ? in.integer() : in.below(50) - 5;
    const int count = in.below(2) ? in.integer() : in.below(50) - 5;
    const size_t len = a.size();
    const size_t from = clampPos(pos, len);

    switch (op) {
    case 0:
        FUZZ_CHECK(grStrLen(a.c_str()) == static_cast<int>(len));
        break;
    case 1:
        FUZZ_CHECK(sign(grStrCmp(a.c_str(), b.c_str())) == sign(a.compare(b)));
        break;
    case 2: {
        const Text want = a.substr(from);
        auto dst = exactBuffer(want.size() + 1);
        FUZZ_CHECK(grStrCopyFrom(dst.get(), a.c_str(), pos) == dst.get());
        expectText(dst.get(), want);
        break;
    }
    case 3: case 4: {
        // A negative count copies nothing and writes nothing.
        const bool left = op == 4;
        const size_t start = left ? 0 : from;
        if (count < 0) {
            char16_t untouched = u'\xBEEF';
            left ? grStrLeft(&untouched, a.c_str(), count) : grStrMid(&untouched, a.c_str(), pos, count);
            FUZZ_CHECK(untouched == u'\xBEEF');
            break;
        }
        const Text want = a.substr(start, static_cast<size_t>(count));
        auto dst = exactBuffer(want.size() + 1);
        left ? grStrLeft(dst.get(), a.c_str(), count) : grStrMid(dst.get(), a.c_str(), pos, count);
        expectText(dst.get(), want);
        break;
    }
    case 5: {
        const Text want = a.substr(0, from) + b + a.substr(from);
        auto dst = exactBuffer(want.size() + 1);
        grStrInsert(dst.get(), b.c_str(), a.c_str(), pos);
        expectText(dst.get(), want);
        break;
    }
    case 6: {
        const size_t skip = count < 0 ? 0 : std::min(static_cast<size_t>(count), len - from);
        const Text want = a.substr(0, from) + a.substr(from + skip);
        auto dst = exactBuffer(want.size() + 1);
        grStrDelete(dst.get(), a.c_str(), pos, count);
        // A negative count is not specified beyond staying inside the buffers.
        if (count >= 0)
            expectText(dst.get(), want);
        break;
    }
    case 7: case 8: {
        auto dst = exactBuffer(len + 1);
        op == 7 ? grStrLower(dst.get(), a.c_str()) : grStrUpper(dst.get(), a.c_str());
        FUZZ_CHECK(grStrLen(dst.get()) == static_cast<int>(len));
        // In place, through the same pointer, gives the same text.
        Text inPlace = a;
        op == 7 ? grStrLower(inPlace.data(), inPlace.c_str()) : grStrUpper(inPlace.data(), inPlace.c_str());
        expectText(dst.get(), inPlace);
        break;
    }
    case 9: {
        const size_t at = a.find(b);
        FUZZ_CHECK(grStrFind(a.c_str(), b.c_str()) == (at == Text::npos ? -1 : static_cast<int>(at)));
        break;
    }
    case 10: case 11: {
        const size_t at = op == 10 ? a.find_first_not_of(b) : a.find_first_of(b);
        const int got = op == 10 ? grStrFindNotOf(a.c_str(), b.c_str()) : grStrFindOf(a.c_str(), b.c_str());
        FUZZ_CHECK(got == (at == Text::npos ? -1 : static_cast<int>(at)));
        break;
    }
    case 12: {
        // As wcstol on a platform with a 32-bit long.
        const long long v = std::wcstoll(wide(a).c_str(), nullptr, 10);
        const long long want = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v;
        FUZZ_CHECK(grStrToInt(a.c_str()) == want);
        grStrToUInt(a.c_str());
        break;
    }
    default: {
        const float want = static_cast<float>(std::wcstod(wide(a).c_str(), nullptr));
        const float got = grStrToFloat(a.c_str());
        FUZZ_CHECK((std::isnan(want) && std::isnan(got)) || want == got);
        break;
    }
    }
    // Aliasing destinations: the helpers may write over their own source.
    Text buffer = a;
    buffer.push_back(0);
    buffer.append(b.size(), u'x');  // room for the insertion, nothing more
    grStrInsert(buffer.data(), b.c_str(), buffer.c_str(), pos);
    expectText(buffer.c_str(), a.substr(0, from) + b + a.substr(from));
    return 0;
}
