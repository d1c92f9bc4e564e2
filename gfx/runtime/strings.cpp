// UTF-16 string helpers. A null string reads as empty, a null destination
// receives nothing, and positions are clamped to 0..length so that no call
// reads or writes outside the strings it was given. Destinations may alias
// their sources.
#include <wctype.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "gr.h"

namespace {

const char16_t* orEmpty(const char16_t* s) { return s != nullptr ? s : u""; }

size_t length(const char16_t* s) {
    size_t n = 0;
    while (s[n] != 0) ++n;
    return n;
}

size_t clampPos(int pos, size_t len) {
    if (pos <= 0) return 0;
    return static_cast<size_t>(pos) < len ? static_cast<size_t>(pos) : len;
}

void moveUnits(char16_t* dst, const char16_t* src, size_t n) {
    if (n != 0) std::memmove(dst, src, n * sizeof(char16_t));
}

// Does [a, a + an) overlap [b, b + bn)? std::less orders unrelated pointers.
bool overlaps(const char16_t* a, size_t an, const char16_t* b, size_t bn) {
    const std::less<const char16_t*> lt;
    return lt(a, b + bn) && lt(b, a + an);
}

// dst = src[pos .. pos + count), terminated; count is non-negative.
char16_t* copyRange(char16_t* dst, const char16_t* src, int pos, size_t count) {
    if (dst == nullptr) return dst;
    src = orEmpty(src);
    const size_t len = length(src);
    const size_t from = clampPos(pos, len);
    const size_t n = count < len - from ? count : len - from;
    moveUnits(dst, src + from, n);
    dst[n] = 0;
    return dst;
}

template <typename Map>
char16_t* mapUnits(char16_t* dst, const char16_t* src, Map map) {
    if (dst == nullptr) return dst;
    src = orEmpty(src);
    size_t i = 0;
    for (; src[i] != 0; ++i) {
        // The locale maps wide characters; keep a unit whose mapping would
        // not fit in one code unit.
        const uint32_t m = map(static_cast<wint_t>(src[i]));
        dst[i] = m <= 0xFFFF ? static_cast<char16_t>(m) : src[i];
    }
    dst[i] = 0;
    return dst;
}

bool inSet(char16_t c, const char16_t* set) {
    for (; *set != 0; ++set)
        if (*set == c) return true;
    return false;
}

int toIndex(size_t i) {
    return i <= static_cast<size_t>(std::numeric_limits<int>::max()) ? static_cast<int>(i)
                                                                      : std::numeric_limits<int>::max();
}

}  // namespace

int grStrLen(const char16_t* s) { return toIndex(length(orEmpty(s))); }

int grStrCmp(const char16_t* a, const char16_t* b) {
    a = orEmpty(a);
    b = orEmpty(b);
    for (; *a != 0 && *a == *b; ++a, ++b) {
    }
    // char16_t is unsigned, so this orders by code unit value.
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

char16_t* grStrCopyFrom(char16_t* dst, const char16_t* src, int pos) {
    return copyRange(dst, src, pos, std::numeric_limits<size_t>::max());
}

char16_t* grStrMid(char16_t* dst, const char16_t* src, int pos, int count) {
    if (count < 0) return dst;  // a negative count writes nothing at all
    return copyRange(dst, src, pos, static_cast<size_t>(count));
}

char16_t* grStrLeft(char16_t* dst, const char16_t* src, int count) {
    if (count < 0) return dst;
    return copyRange(dst, src, 0, static_cast<size_t>(count));
}

char16_t* grStrInsert(char16_t* dst, const char16_t* ins, const char16_t* src, int pos) {
    if (dst == nullptr) return dst;
    src = orEmpty(src);
    ins = orEmpty(ins);
    const size_t len = length(src);
    const size_t insLen = length(ins);
    const size_t at = clampPos(pos, len);
    const size_t total = len + insLen;
    if (overlaps(dst, total + 1, src, len + 1) || overlaps(dst, total + 1, ins, insLen + 1)) {
        // Writing in place would overwrite parts not yet copied.
        const std::u16string result = std::u16string(src, at) + std::u16string(ins, insLen) + (src + at);
        moveUnits(dst, result.c_str(), total + 1);
        return dst;
    }
    moveUnits(dst, src, at);
    moveUnits(dst + at, ins, insLen);
    moveUnits(dst + at + insLen, src + at, len - at + 1);
    return dst;
}

char16_t* grStrDelete(char16_t* dst, const char16_t* src, int pos, int count) {
    if (dst == nullptr) return dst;
    src = orEmpty(src);
    const size_t len = length(src);
    const size_t at = clampPos(pos, len);
    const size_t rest = len - at;
    const size_t skip = count <= 0 ? 0 : std::min(static_cast<size_t>(count), rest);
    const size_t tail = len - at - skip + 1;  // with the terminator
    // Copy first the part that the other copy would overwrite: the head when
    // dst lies before src, else the tail.
    if (!std::less<const char16_t*>()(src, dst)) {
        moveUnits(dst, src, at);
        moveUnits(dst + at, src + at + skip, tail);
    } else {
        moveUnits(dst + at, src + at + skip, tail);
        moveUnits(dst, src, at);
    }
    return dst;
}

char16_t* grStrLower(char16_t* dst, const char16_t* src) {
    return mapUnits(dst, src, [](wint_t c) { return towlower(c); });
}

char16_t* grStrUpper(char16_t* dst, const char16_t* src) {
    return mapUnits(dst, src, [](wint_t c) { return towupper(c); });
}

int grStrFind(const char16_t* s, const char16_t* sub) {
    s = orEmpty(s);
    sub = orEmpty(sub);
    for (size_t i = 0;; ++i) {
        size_t k = 0;
        while (sub[k] != 0 && s[i + k] == sub[k]) ++k;
        if (sub[k] == 0) return toIndex(i);
        if (s[i + k] == 0) return -1;  // s ran out before a match could end
    }
}

int grStrFindNotOf(const char16_t* s, const char16_t* set) {
    s = orEmpty(s);
    set = orEmpty(set);
    for (size_t i = 0; s[i] != 0; ++i)
        if (!inSet(s[i], set)) return toIndex(i);
    return -1;
}

int grStrFindOf(const char16_t* s, const char16_t* set) {
    s = orEmpty(s);
    set = orEmpty(set);
    for (size_t i = 0; s[i] != 0; ++i)
        if (inSet(s[i], set)) return toIndex(i);
    return -1;
}
