#include "mqtt_address.h"

#include "wire_formats.h"

namespace {

constexpr int kMaxPort = 65535;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool unescape(const std::string& text, std::string* out)
{
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out->push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size() || hexDigit(text[i + 1]) < 0 || hexDigit(text[i + 2]) < 0)
            return false;
        out->push_back(static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2])));
        i += 2;
    }
    return true;
}

bool validPrefix(const std::string& prefix)
{
    if (prefix.empty() || prefix.front() == '/' || prefix.back() == '/')
        return false;
    return prefix.find_first_of("+#") == std::string::npos && prefix.find("//") == std::string::npos;
}

}  // namespace

bool parseMqttAddress(const std::string& text, MqttAddress* address, std::string* error)
{
    *address = MqttAddress();
    const std::string usage =
        "--data takes mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX[:MAPPING][?cafile=FILE]";
    auto fail = [&](const std::string& cause) {
        *error = "\"" + text + "\": " + cause + "; " + usage;
        return false;
    };
    std::string rest;
    if (text.rfind("mqtt://", 0) == 0) {
        rest = text.substr(7);
    } else if (text.rfind("mqtts://", 0) == 0) {
        rest = text.substr(8);
        address->tls = true;
    } else {
        return fail("not an mqtt:// or mqtts:// address");
    }
    if (const size_t query = rest.find('?'); query != std::string::npos) {
        const std::string options = rest.substr(query + 1);
        rest.resize(query);
        if (options.rfind("cafile=", 0) != 0 || options.size() == 7)
            return fail("the one option after ? is cafile=FILE");
        address->caFile = options.substr(7);
        address->tls = true;
    }
    const size_t slash = rest.find('/');
    if (slash == std::string::npos)
        return fail("no /PREFIX");
    std::string authority = rest.substr(0, slash);
    std::string path = rest.substr(slash + 1);
    if (const size_t at = authority.rfind('@'); at != std::string::npos) {
        const std::string credentials = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const size_t colon = credentials.find(':');
        if (!unescape(credentials.substr(0, colon), &address->user) ||
            (colon != std::string::npos && !unescape(credentials.substr(colon + 1), &address->password)))
            return fail("a % in the user or password is not followed by two hex digits");
        address->hasPassword = colon != std::string::npos;
        if (address->user.empty())
            return fail("an empty user name");
    }
    std::string portText;
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos)
            return fail("an IPv6 address without its ]");
        address->host = authority.substr(1, close - 1);
        const std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':')
                return fail("characters after the IPv6 address's ]");
            portText = after.substr(1);
            if (portText.empty())
                return fail("an empty port");
        }
    } else {
        const size_t colon = authority.find(':');
        address->host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            portText = authority.substr(colon + 1);
            if (portText.empty())
                return fail("an empty port");
        }
    }
    if (address->host.empty())
        return fail("no HOST");
    address->port = address->tls ? kMqttTlsPort : kMqttPort;
    if (!portText.empty()) {
        double number = 0.0;
        if (portText.find_first_not_of("0123456789") != std::string::npos || !parseWireNumber(portText, &number) ||
            number < 1 || number > kMaxPort)
            return fail("the port " + portText + " is not 1 to 65535");
        address->port = static_cast<int>(number);
    }
    const size_t colon = path.find(':');
    address->prefix = path.substr(0, colon);
    if (colon != std::string::npos) {
        address->mappingPath = path.substr(colon + 1);
        if (address->mappingPath.empty())
            return fail("an empty MAPPING after the :");
    }
    if (!validPrefix(address->prefix))
        return fail("the PREFIX \"" + address->prefix +
                    "\" is not a topic (levels separated by /, none empty, no + or #)");
    return true;
}

std::string mqttAddressName(const MqttAddress& address)
{
    const bool v6 = address.host.find(':') != std::string::npos;
    return std::string(address.tls ? "mqtts://" : "mqtt://") + (v6 ? "[" + address.host + "]" : address.host) + ":" +
           std::to_string(address.port) + "/" + address.prefix;
}
