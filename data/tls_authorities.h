// The certificate authorities a TLS connection trusts when its address names
// no CA file: the system's own, where this platform keeps them.
#pragma once

#include <string>

// The folder of the system's authorities for OpenSSL, into *folder; false
// with the cause in *error where the platform keeps none OpenSSL reads.
bool systemAuthorities(std::string* folder, std::string* error);
