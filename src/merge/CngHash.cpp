#include "merge/CngHash.h"

#include "platform/Handles.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <iterator>
#include <mutex>

namespace {

struct ProviderTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { BCryptCloseAlgorithmProvider(h, 0); }
};
using ProviderHandle = Unique<ProviderTraits>;
using HashHandle = Unique<NullIsNoneTraits<BCRYPT_HASH_HANDLE, BCryptDestroyHash>>;

struct Algorithm {
    HashKind kind;
    const wchar_t* id;
    ULONG digestBytes;
};
constexpr Algorithm kAlgorithms[] = {
    {HashKind::Md5, BCRYPT_MD5_ALGORITHM, 16},
    {HashKind::Sha1, BCRYPT_SHA1_ALGORITHM, 20},
    {HashKind::Sha256, BCRYPT_SHA256_ALGORITHM, 32},
    {HashKind::Sha512, BCRYPT_SHA512_ALGORITHM, 64},
};
constexpr ULONG kLongestDigest = 64;

// Opening a provider finds, loads and initialises it, which costs far more than a
// hash object, so each is opened once per run and kept. The hash objects are made
// under the same lock; each is then used by one thread only.
HashHandle CreateHash(std::size_t algorithm) {
    static std::mutex lock;
    static ProviderHandle providers[std::size(kAlgorithms)];
    const std::lock_guard guard(lock);
    ProviderHandle& provider = providers[algorithm];
    if (!provider) {
        BCRYPT_ALG_HANDLE opened = nullptr;
        if (!BCRYPT_SUCCESS(
                BCryptOpenAlgorithmProvider(&opened, kAlgorithms[algorithm].id, nullptr, 0)))
            return {};
        provider.Reset(opened);
    }
    // Without a buffer of ours CNG keeps the object itself (Windows 7 and later).
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(provider.Get(), &hash, nullptr, 0, nullptr, 0, 0)))
        return {};
    return HashHandle(hash);
}

class CngHash : public Checksum {
public:
    CngHash(HashHandle hash, ULONG digestBytes)
        : hash_(std::move(hash)), digestBytes_(digestBytes) {}

    void Update(const void* data, std::size_t bytes) override {
        auto* p = static_cast<UCHAR*>(const_cast<void*>(data)); // only read
        while (bytes > 0 && hash_) {
            const auto piece = static_cast<ULONG>(std::min(bytes, kCngLargestPiece));
            if (!BCRYPT_SUCCESS(BCryptHashData(hash_.Get(), p, piece, 0)))
                hash_.Reset(); // no result now
            p += piece;
            bytes -= piece;
        }
    }

    std::string Hex() override {
        UCHAR digest[kLongestDigest];
        if (hash_ && BCRYPT_SUCCESS(BCryptFinishHash(hash_.Get(), digest, digestBytes_, 0))) {
            static constexpr char kDigits[] = "0123456789abcdef";
            for (ULONG i = 0; i < digestBytes_; ++i) {
                hex_ += kDigits[digest[i] >> 4];
                hex_ += kDigits[digest[i] & 0xF];
            }
        }
        hash_.Reset(); // finished, or failed
        return hex_;
    }

private:
    HashHandle hash_;
    ULONG digestBytes_;
    std::string hex_;
};

} // namespace

std::unique_ptr<Checksum> MakeCngHash(HashKind kind) {
    for (std::size_t i = 0; i < std::size(kAlgorithms); ++i) {
        if (kAlgorithms[i].kind != kind)
            continue;
        HashHandle hash = CreateHash(i);
        if (!hash)
            return nullptr;
        return std::make_unique<CngHash>(std::move(hash), kAlgorithms[i].digestBytes);
    }
    return nullptr;
}
