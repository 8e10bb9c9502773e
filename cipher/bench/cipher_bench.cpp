// Throughput of each cipher over 512-byte sectors, with OpenSSL's AES-128-ECB as a reference.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <array>
#include <cstdint>
#include <vector>

#include "cipher/Rc4.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"

namespace {

constexpr uint32_t kSector = 512;

struct CipherCalls {
  int (*createKey)(const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(uint8_t*, uint32_t, uint8_t*);
};

// The block ciphers take a const key object; adapt them to one shape.
template <int (*Fn)(uint8_t*, uint32_t, const uint8_t*)>
int Encrypting(uint8_t* d, uint32_t n, uint8_t* o) {
  return Fn(d, n, o);
}

const CipherCalls kRc4{cipher::Rc4CreateKey, cipher::Rc4Crypt};
const CipherCalls kRc5{cipher::Rc5CreateKey, Encrypting<cipher::Rc5Encrypt>};
const CipherCalls kRc6{cipher::Rc6CreateKey, Encrypting<cipher::Rc6Encrypt>};
const CipherCalls kRj128{cipher::Rj128CreateKey, Encrypting<cipher::Rj128Encrypt>};
const CipherCalls kRj256{cipher::Rj256CreateKey, Encrypting<cipher::Rj256Encrypt>};

// A password as the encrypted folders pass it: UTF-16LE code units.
const std::vector<uint8_t> kPassword = {'s', 0, 'e', 0, 'c', 0, 'r', 0, 'e', 0, 't', 0, '!', 0};

// Sectors: enough of them to leave the first-level cache, as a folder would.
std::vector<uint8_t> Sectors() {
  std::vector<uint8_t> data(64 * kSector);
  for (size_t n = 0; n < data.size(); ++n) data[n] = static_cast<uint8_t>(n * 7 + 1);
  return data;
}

void ReusedKey(benchmark::State& state, const CipherCalls& c) {
  std::array<uint8_t, 1024> object{};
  c.createKey(kPassword.data(), static_cast<uint32_t>(kPassword.size()), object.data());
  auto data = Sectors();
  size_t at = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.encrypt(data.data() + at, kSector, object.data()));
    at = (at + kSector) % data.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSector);
}

void FreshKeyPerSector(benchmark::State& state, const CipherCalls& c) {
  std::array<uint8_t, 1024> object{};
  auto data = Sectors();
  size_t at = 0;
  for (auto _ : state) {
    c.createKey(kPassword.data(), static_cast<uint32_t>(kPassword.size()), object.data());
    benchmark::DoNotOptimize(c.encrypt(data.data() + at, kSector, object.data()));
    at = (at + kSector) % data.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSector);
}

BENCHMARK_CAPTURE(ReusedKey, RC4, kRc4);
BENCHMARK_CAPTURE(ReusedKey, RC5, kRc5);
BENCHMARK_CAPTURE(ReusedKey, RC6, kRc6);
BENCHMARK_CAPTURE(ReusedKey, RJ128, kRj128);
BENCHMARK_CAPTURE(ReusedKey, RJ256, kRj256);
BENCHMARK_CAPTURE(FreshKeyPerSector, RC4, kRc4);
BENCHMARK_CAPTURE(FreshKeyPerSector, RC5, kRc5);
BENCHMARK_CAPTURE(FreshKeyPerSector, RC6, kRc6);
BENCHMARK_CAPTURE(FreshKeyPerSector, RJ128, kRj128);
BENCHMARK_CAPTURE(FreshKeyPerSector, RJ256, kRj256);

// The reference: OpenSSL AES-128 in ECB mode over the same sectors, one
// context reused (its best case; it uses the processor's AES instructions).
void OpenSslAes128Ecb(benchmark::State& state) {
  const uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key, nullptr);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  auto data = Sectors();
  size_t at = 0;
  for (auto _ : state) {
    int out = 0;
    EVP_EncryptUpdate(ctx, data.data() + at, &out, data.data() + at, kSector);
    benchmark::DoNotOptimize(out);
    at = (at + kSector) % data.size();
  }
  EVP_CIPHER_CTX_free(ctx);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSector);
}
BENCHMARK(OpenSslAes128Ecb);

}  // namespace

BENCHMARK_MAIN();
