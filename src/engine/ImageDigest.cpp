#include "engine/ImageDigest.h"

#include <array>

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on
#else
#include <openssl/evp.h>
#endif

namespace zr4700 {

namespace {

constexpr std::size_t kDigestSize = 32;
using Digest = std::array<unsigned char, kDigestSize>;

#ifdef _WIN32
// The system's own SHA-256, so that zrwin.exe needs no library beside it.
bool Compute(const std::uint8_t* data, std::size_t size, Digest& digest) {
    if (size > 0xFFFFFFFFu) {
        return false;
    }
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(
            BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        return false;
    }
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    if (ok) {
        ok = BCRYPT_SUCCESS(
                 BCryptHashData(hash, const_cast<PUCHAR>(data), static_cast<ULONG>(size), 0)) &&
             BCRYPT_SUCCESS(
                 BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return ok;
}
#else
bool Compute(const std::uint8_t* data, std::size_t size, Digest& digest) {
    unsigned int length = 0;
    return EVP_Digest(data, size, digest.data(), &length, EVP_sha256(), nullptr) == 1 &&
           length == kDigestSize;
}
#endif

} // namespace

std::string Sha256Hex(const std::uint8_t* data, std::size_t size) {
    static constexpr char kHex[] = "0123456789abcdef";
    static const std::uint8_t kNothing = 0;
    Digest digest{};
    if (!Compute(data ? data : &kNothing, data ? size : 0, digest)) {
        return {};
    }
    std::string text;
    text.reserve(2 * kDigestSize);
    for (const unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

std::string Sha256Hex(const std::string& bytes) {
    return Sha256Hex(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

bool IsSha256Hex(const std::string& text) {
    if (text.size() != 2 * kDigestSize) {
        return false;
    }
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

} // namespace zr4700
