// JSON objects of names and numbers: {"pitch": 2.5, "roll": -10}.
#include <string>
#include <utility>
#include <vector>

#include "wire_formats.h"

namespace {

// Members an object may have; more make it malformed.
constexpr size_t kMaxJsonMembers = 256;

class ObjectReader {
public:
    explicit ObjectReader(std::string_view text) : text_(text) {}

    size_t At() const { return at_; }
    bool AtEnd()
    {
        skipSpace();
        return at_ >= text_.size();
    }

    // Reads one flat object into members; false at the first fault.
    bool Read(std::vector<std::pair<std::string, double>>* members)
    {
        members->clear();
        if (!take('{'))
            return false;
        if (take('}'))
            return true;
        for (;;) {
            std::string name;
            double value = 0.0;
            if (members->size() == kMaxJsonMembers || !readString(&name) || !take(':') || !readNumber(&value))
                return false;
            members->emplace_back(std::move(name), value);
            if (take('}'))
                return true;
            if (!take(','))
                return false;
        }
    }

    // After a fault: on past the next line break, where another object may start.
    void SkipLine()
    {
        const size_t end = text_.find('\n', at_);
        at_ = end == std::string_view::npos ? text_.size() : end + 1;
    }

private:
    void skipSpace()
    {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    bool take(char c)
    {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool readString(std::string* out)
    {
        if (!take('"'))
            return false;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out->push_back(c);
                continue;
            }
            if (at_ >= text_.size())
                return false;
            // Escapes of the names a mapping can give; \u is not one of them.
            switch (text_[at_++]) {
            case '"': out->push_back('"'); break;
            case '\\': out->push_back('\\'); break;
            case '/': out->push_back('/'); break;
            case 't': out->push_back('\t'); break;
            default: return false;
            }
        }
        return false;
    }

    bool readNumber(double* value)
    {
        skipSpace();
        const size_t start = at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'))
                break;
            ++at_;
        }
        // JSON has no leading '+'.
        return at_ > start && text_[start] != '+' && parseWireNumber(text_.substr(start, at_ - start), value);
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

void parseJsonObjects(std::string_view bytes, const FieldSink& sink, ParseCounts* counts)
{
    ObjectReader reader(bytes);
    std::vector<std::pair<std::string, double>> members;
    while (!reader.AtEnd()) {
        ++counts->units;
        if (!reader.Read(&members)) {
            ++counts->malformed;
            reader.SkipLine();
            continue;
        }
        for (const auto& [name, value] : members)
            sink(name, value);
    }
}
