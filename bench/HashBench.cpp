// Measures each checksum over a buffer in memory, fed in the copy's 1 MiB pieces:
// streamed through a buffer larger than the caches, and over one piece that is still
// in the cache, as it is right after a read. Also what opening a CNG provider costs
// against a hash object from the one kept open. Not a test: it prints figures.
//
// With a folder, also a writer's loop into a file there, plain and with a checksum of
// each piece before it is written, in turns.
//
//   bench_hash [MIB] [ROUNDS] [FOLDER]   a buffer of MIB MiB (64), best of ROUNDS (7)

#include "merge/Checksum.h"
#include "merge/Crc32.h"
#include "platform/Handles.h"

#include <windows.h>
#include <bcrypt.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kPiece = 1 << 20;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best of the rounds, in MB/s, for a pass over bytes.
double Best(int rounds, double bytes, const std::function<void()>& pass) {
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        pass();
        best = std::min(best, Seconds(start));
    }
    return bytes / best / 1e6;
}

volatile std::uint32_t sink; // keeps the CRC loops from being dropped

struct Candidate {
    const char* name;
    // Hashes the bytes in 1 MiB pieces; how often the same bytes are taken again.
    std::function<void(const char* data, std::size_t bytes, int repeat)> run;
};

std::function<void(const char*, std::size_t, int)> CrcRun(Crc32Path path) {
    return [path](const char* data, std::size_t bytes, int repeat) {
        std::uint32_t crc = 0;
        for (int i = 0; i < repeat; ++i)
            for (std::size_t at = 0; at < bytes; at += kPiece)
                crc = Crc32With(path, crc, data + at, std::min(kPiece, bytes - at));
        sink = crc;
    };
}

std::function<void(const char*, std::size_t, int)> ChecksumRun(HashKind kind) {
    return [kind](const char* data, std::size_t bytes, int repeat) {
        const auto sum = MakeChecksum(kind);
        for (int i = 0; i < repeat; ++i)
            for (std::size_t at = 0; at < bytes; at += kPiece)
                sum->Update(data + at, std::min(kPiece, bytes - at));
        sum->Hex();
    };
}

// Microseconds per call, the mean over count calls.
double MeanMicroseconds(int count, const std::function<void()>& call) {
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        call();
    return Seconds(start) * 1e6 / count;
}

// The buffer written to a file in 1 MiB pieces, each hashed first when a kind is
// given: the checksum inside the writer's own loop.
double WriteSeconds(const std::wstring& path, const std::vector<char>& buffer,
                    const HashKind* kind) {
    const auto start = Clock::now();
    FileHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    const auto sum = kind ? MakeChecksum(*kind) : nullptr;
    for (std::size_t at = 0; at < buffer.size(); at += kPiece) {
        const auto piece = static_cast<DWORD>(std::min(kPiece, buffer.size() - at));
        if (sum)
            sum->Update(buffer.data() + at, piece);
        DWORD written = 0;
        WriteFile(out.Get(), buffer.data() + at, piece, &written, nullptr);
    }
    if (sum)
        sum->Hex();
    out.Reset();
    return Seconds(start);
}

void MeasureWriter(const std::string& folder, const std::vector<char>& buffer, int rounds) {
    const std::wstring path = std::wstring(folder.begin(), folder.end()) + L"\\hashbench.tmp";
    const HashKind crc = HashKind::Crc32, sha256 = HashKind::Sha256;
    const HashKind* kinds[] = {nullptr, &crc, &sha256};
    double best[3] = {1e30, 1e30, 1e30};
    for (int r = 0; r < rounds; ++r)
        for (int k = 0; k < 3; ++k)
            best[k] = std::min(best[k], WriteSeconds(path, buffer, kinds[k]));
    DeleteFileW(path.c_str());
    const double bytes = static_cast<double>(buffer.size());
    std::printf("writer, 1 MiB WriteFile pieces:  %8.0f MB/s\n", bytes / best[0] / 1e6);
    std::printf("  with CRC-32 of each piece:     %8.0f MB/s (%.2f of plain)\n",
                bytes / best[1] / 1e6, best[0] / best[1]);
    std::printf("  with SHA-256 of each piece:    %8.0f MB/s (%.2f of plain)\n",
                bytes / best[2] / 1e6, best[0] / best[2]);
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    std::vector<char> buffer(mib << 20);
    unsigned x = 12345;
    for (auto& b : buffer)
        b = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);

    std::vector<Candidate> candidates = {
        {"CRC-32, tables (slicing by 16)", CrcRun(Crc32Path::Tables)},
    };
    if (Crc32PathAvailable(Crc32Path::CarrylessMultiply))
        candidates.push_back({"CRC-32, carry-less multiply", CrcRun(Crc32Path::CarrylessMultiply)});
    if (Crc32PathAvailable(Crc32Path::WideCarrylessMultiply))
        candidates.push_back(
            {"CRC-32, the same on 256 bits", CrcRun(Crc32Path::WideCarrylessMultiply)});
    candidates.push_back({"CRC-32, as the merge gets it", ChecksumRun(HashKind::Crc32)});
    candidates.push_back({"MD5 (CNG)", ChecksumRun(HashKind::Md5)});
    candidates.push_back({"SHA-1 (CNG)", ChecksumRun(HashKind::Sha1)});
    candidates.push_back({"SHA-256 (CNG)", ChecksumRun(HashKind::Sha256)});
    candidates.push_back({"SHA-512 (CNG)", ChecksumRun(HashKind::Sha512)});

    std::printf("%-32s %12s %12s\n", "", "streamed", "in cache");
    std::printf("%-32s %12s %12s\n", "", "MB/s", "MB/s");
    const int hotRepeat = static_cast<int>(mib);
    for (const auto& [name, run] : candidates) {
        const double streamed = Best(rounds, static_cast<double>(buffer.size()),
                                     [&] { run(buffer.data(), buffer.size(), 1); });
        const double hot = Best(rounds, static_cast<double>(kPiece) * hotRepeat,
                                [&] { run(buffer.data(), kPiece, hotRepeat); });
        std::printf("%-32s %12.0f %12.0f\n", name, streamed, hot);
    }
    std::printf("(%zu MiB streamed, 1 MiB in cache, in 1 MiB pieces, best of %d)\n", mib, rounds);
    if (argc > 3)
        MeasureWriter(argv[3], buffer, rounds);

    // What keeping the providers open saves: a hash of nothing either way.
    const double ownProvider = MeanMicroseconds(200, [] {
        BCRYPT_ALG_HANDLE provider = nullptr;
        BCRYPT_HASH_HANDLE hash = nullptr;
        UCHAR digest[32];
        if (!BCRYPT_SUCCESS(
                BCryptOpenAlgorithmProvider(&provider, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
            return;
        if (BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, nullptr, 0, 0))) {
            BCryptFinishHash(hash, digest, sizeof digest, 0);
            BCryptDestroyHash(hash);
        }
        BCryptCloseAlgorithmProvider(provider, 0);
    });
    const double keptProvider =
        MeanMicroseconds(200, [] { MakeChecksum(HashKind::Sha256)->Hex(); });
    std::printf("SHA-256 of nothing: %.1f us with a provider of its own, %.1f us from the one "
                "kept open\n",
                ownProvider, keptProvider);
    return 0;
}
