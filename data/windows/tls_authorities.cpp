#include "tls_authorities.h"

bool systemAuthorities(std::string*, std::string* error)
{
    // Windows keeps its authorities in its certificate store, which OpenSSL
    // does not read: the broker's CA is named instead of every connection
    // failing its certificate check.
    *error = "TLS needs the broker's certificate authority named with ?cafile=FILE on Windows "
             "(the Windows certificate store is not read)";
    return false;
}
