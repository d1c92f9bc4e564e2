#include "tls_authorities.h"

bool systemAuthorities(std::string* folder, std::string*)
{
    // Debian's ca-certificates, hashed for OpenSSL.
    *folder = "/etc/ssl/certs";
    return true;
}
