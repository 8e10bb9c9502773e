// Throughput of each cipher over 512-byte sectors on each engine, with OpenSSL's AES-128-ECB as a
// reference.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cipher/CipherEngine.h"
#include "cipher/Rc4.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"
#include "cipher/bench/FloorSummary.h"

namespace {

using cipher::CipherEngine;
constexpr uint32_t kSector = 512;

// Calls: a cipher's functions in one shape, with the engine as a parameter
// (RC4 and the RC key schedules have only one implementation).
struct Calls {
  const char* name;
  int (*createKey)(const CipherEngine&, const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(const CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
  int (*decrypt)(const CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
};

int Rc4Key(const CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return cipher::Rc4CreateKey(k, n, o);
}
int Rc4(const CipherEngine&, uint8_t* d, uint32_t n, const uint8_t* o) {
  // RC4 advances its key object; the benchmark owns the buffer it passes.
  return cipher::Rc4Crypt(d, n, const_cast<uint8_t*>(o));
}
int Rc5Key(const CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return cipher::Rc5CreateKey(k, n, o);
}
int Rc6Key(const CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return cipher::Rc6CreateKey(k, n, o);
}

const Calls kCiphers[] = {
    {"RC4", Rc4Key, Rc4, Rc4},
    {"RC5", Rc5Key, cipher::Rc5Encrypt, cipher::Rc5Decrypt},
    {"RC6", Rc6Key, cipher::Rc6Encrypt, cipher::Rc6Decrypt},
    {"RJ128", cipher::Rj128CreateKey, cipher::Rj128Encrypt, cipher::Rj128Decrypt},
    {"RJ256", cipher::Rj256CreateKey, cipher::Rj256Encrypt, cipher::Rj256Decrypt},
};

// A password as the encrypted folders pass it: UTF-16LE code units.
const std::vector<uint8_t> kPassword = {'s', 0, 'e', 0, 'c', 0, 'r', 0, 'e', 0, 't', 0, '!', 0};

// Sectors: enough of them to leave the first-level cache, as a folder would.
std::vector<uint8_t> Sectors() {
  std::vector<uint8_t> data(64 * kSector);
  for (size_t n = 0; n < data.size(); ++n) data[n] = static_cast<uint8_t>(n * 7 + 1);
  return data;
}

enum class Key { Reused, FreshPerSector };
enum class Direction { Encrypt, Decrypt };

void SectorRun(benchmark::State& state, const Calls& c, const CipherEngine& engine, Key keying,
               Direction direction) {
  alignas(8) std::array<uint8_t, 1024> object{};
  const auto password = static_cast<uint32_t>(kPassword.size());
  c.createKey(engine, kPassword.data(), password, object.data());
  const auto work = direction == Direction::Encrypt ? c.encrypt : c.decrypt;
  auto data = Sectors();
  size_t at = 0;
  for (auto _ : state) {
    if (keying == Key::FreshPerSector)
      c.createKey(engine, kPassword.data(), password, object.data());
    benchmark::DoNotOptimize(work(engine, data.data() + at, kSector, object.data()));
    at = (at + kSector) % data.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSector);
}

// OpenSslAes128Ecb: the reference, over the same sectors. With a reused
// context it is at its best (the processor's AES instructions, no key
// schedule); with a fresh key per sector it pays its key schedule each time.
void OpenSslAes128Ecb(benchmark::State& state, Key keying) {
  const uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key, nullptr);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  auto data = Sectors();
  size_t at = 0;
  for (auto _ : state) {
    if (keying == Key::FreshPerSector) EVP_EncryptInit_ex(ctx, nullptr, nullptr, key, nullptr);
    int out = 0;
    EVP_EncryptUpdate(ctx, data.data() + at, &out, data.data() + at, kSector);
    benchmark::DoNotOptimize(out);
    at = (at + kSector) % data.size();
  }
  EVP_CIPHER_CTX_free(ctx);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSector);
}

std::string Name(const Calls& c, const char* engine, Key keying, Direction direction) {
  return std::string(c.name) + "/" + engine + "/" +
         (keying == Key::Reused ? "reused_key" : "fresh_key") + "/" +
         (direction == Direction::Encrypt ? "encrypt" : "decrypt");
}

void RegisterAll() {
  const std::pair<const char*, const CipherEngine*> engines[] = {
      {"portable", &cipher::PortableEngine()}, {"fastest", &cipher::FastestEngine()}};
  for (const Calls& c : kCiphers) {
    // RC4 has one implementation and is a stream: one encrypting run each way of keying.
    const bool stream = std::string(c.name) == "RC4";
    for (const auto& [engineName, engine] : engines) {
      if (stream && engine != &cipher::PortableEngine()) continue;
      for (Key keying : {Key::Reused, Key::FreshPerSector}) {
        for (Direction direction : {Direction::Encrypt, Direction::Decrypt}) {
          if (stream && direction == Direction::Decrypt) continue;
          benchmark::RegisterBenchmark(
              Name(c, stream ? "any" : engineName, keying, direction).c_str(), SectorRun, c,
              *engine, keying, direction);
        }
      }
    }
  }
  benchmark::RegisterBenchmark("OpenSSL_AES128_ECB/reused_key/encrypt", OpenSslAes128Ecb,
                               Key::Reused);
  benchmark::RegisterBenchmark("OpenSSL_AES128_ECB/fresh_key/encrypt", OpenSslAes128Ecb,
                               Key::FreshPerSector);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  constexpr double kGB = 1e9;
  cipher::bench::FloorSummary summary({
      {"RJ128 reused key, of OpenSSL", "RJ128/fastest/reused_key/encrypt",
       "OpenSSL_AES128_ECB/reused_key/encrypt", 0.5, 0},
      {"RJ128 fresh key per sector", "RJ128/fastest/fresh_key/encrypt", "", 0, 1 * kGB},
      {"RJ128 fresh key per sector, decrypt", "RJ128/fastest/fresh_key/decrypt", "", 0, 1 * kGB},
      {"RJ256 reused key", "RJ256/fastest/reused_key/encrypt", "", 0, 1 * kGB},
      {"RJ256 fresh key per sector", "RJ256/fastest/fresh_key/encrypt", "", 0, 1 * kGB},
      {"RJ256 fresh key per sector, decrypt", "RJ256/fastest/fresh_key/decrypt", "", 0, 1 * kGB},
  });
  benchmark::RunSpecifiedBenchmarks(&summary);
  benchmark::Shutdown();
  return 0;
}
