// Throw-away certificates for the loopback TLS tests, made when the tests run (no key material
// is kept in the repository): a CA, and server certificates signed by it for chosen names.
#pragma once

#if !defined(_WIN32)

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <string>

namespace ostrel::testing {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

inline Key makeKey() { return Key(EVP_EC_gen("P-256")); }

inline bool addExtension(X509* cert, X509V3_CTX& ctx, int nid, const char* value) {
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (ext == nullptr) return false;
  const bool added = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return added;
}

// A CA when `issuer` is null (self-signed); otherwise a server certificate for `alt_names`
// ("DNS:localhost,IP:127.0.0.1") signed by the issuer.
inline Cert makeCert(EVP_PKEY* key, const char* common_name, X509* issuer, EVP_PKEY* issuer_key,
                     const char* alt_names, long serial) {
  Cert cert(X509_new());
  if (!cert) return cert;
  X509* x = cert.get();
  X509_set_version(x, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x), serial);
  X509_gmtime_adj(X509_getm_notBefore(x), -3600);
  X509_gmtime_adj(X509_getm_notAfter(x), 24 * 3600);
  X509_set_pubkey(x, key);
  X509_NAME* name = X509_get_subject_name(x);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(common_name), -1, -1, 0);
  const bool is_ca = issuer == nullptr;
  X509_set_issuer_name(x, is_ca ? name : X509_get_subject_name(issuer));
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, is_ca ? x : issuer, x, nullptr, nullptr, 0);
  bool ok = addExtension(x, ctx, NID_subject_key_identifier, "hash") &&
            addExtension(x, ctx, NID_authority_key_identifier, "keyid:always");
  if (is_ca) {
    ok = ok && addExtension(x, ctx, NID_basic_constraints, "critical,CA:TRUE") &&
         addExtension(x, ctx, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    ok = ok && addExtension(x, ctx, NID_basic_constraints, "critical,CA:FALSE") &&
         addExtension(x, ctx, NID_key_usage, "critical,digitalSignature") &&
         addExtension(x, ctx, NID_ext_key_usage, "serverAuth") &&
         addExtension(x, ctx, NID_subject_alt_name, alt_names);
  }
  if (!ok || X509_sign(x, is_ca ? key : issuer_key, EVP_sha256()) == 0) cert.reset();
  return cert;
}

inline bool writePem(const std::string& path, X509* cert) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  const bool written = PEM_write_X509(file, cert) == 1;
  return std::fclose(file) == 0 && written;
}

// A CA with its key, and the file the client is told to trust.
struct TestCa {
  Key key;
  Cert cert;
  std::string pem_path;

  static TestCa make(const std::string& pem_path, const char* name, long serial) {
    TestCa ca;
    ca.key = makeKey();
    ca.cert = makeCert(ca.key.get(), name, nullptr, nullptr, nullptr, serial);
    ca.pem_path = pem_path;
    if (ca.cert) writePem(pem_path, ca.cert.get());
    return ca;
  }
};

// A server key and certificate issued by `ca`.
struct ServerIdentity {
  Key key;
  Cert cert;

  static ServerIdentity make(const TestCa& ca, const char* alt_names, long serial) {
    ServerIdentity id;
    id.key = makeKey();
    id.cert = makeCert(id.key.get(), "ostrel test server", ca.cert.get(), ca.key.get(), alt_names,
                       serial);
    return id;
  }
};

}  // namespace ostrel::testing

#endif
