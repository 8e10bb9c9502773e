// Which engine a process gets: the processor's features, the build, and QM_CIPHER_ENGINE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cipher/CipherEngine.h"

namespace cipher::test {
namespace {

constexpr CpuFeatures kEverything{true, true, true, true};

bool BuiltWithAesKernels() {
  return AesRijndaelKernels() != nullptr;
}

TEST(CipherEngine, PortableEngineIsTheTablesAndOneBlockAtATime) {
  const CipherEngine& e = PortableEngine();
  EXPECT_EQ(e.rijndael, &TableRijndaelKernels());
  EXPECT_EQ(e.rc, &ScalarRcKernels());
  EXPECT_FALSE(e.aesInstructions);
  EXPECT_FALSE(e.wideVectors);
}

TEST(CipherEngine, PortableSettingWinsOverEveryProcessorFeature) {
  EXPECT_EQ(&SelectEngine("portable", kEverything), &PortableEngine());
}

TEST(CipherEngine, AProcessorWithoutFeaturesGetsThePortableKernels) {
  for (const char* setting : {"", "fastest", "Portable", "tables"}) {
    const CipherEngine& e = SelectEngine(setting, CpuFeatures{});
    EXPECT_EQ(e.rijndael, &TableRijndaelKernels()) << setting;
    EXPECT_EQ(e.rc, &ScalarRcKernels()) << setting;
  }
}

TEST(CipherEngine, AesKernelsNeedAesShufflesAndBlendsTogether) {
  if (!BuiltWithAesKernels()) GTEST_SKIP() << "this build has no AES-instruction kernels";
  CpuFeatures cpu = kEverything;
  EXPECT_EQ(SelectEngine("", cpu).rijndael, AesRijndaelKernels());
  EXPECT_TRUE(SelectEngine("", cpu).aesInstructions);
  for (bool CpuFeatures::*missing : {&CpuFeatures::aes, &CpuFeatures::ssse3, &CpuFeatures::sse41}) {
    cpu = kEverything;
    cpu.*missing = false;
    EXPECT_EQ(SelectEngine("", cpu).rijndael, &TableRijndaelKernels());
    EXPECT_FALSE(SelectEngine("", cpu).aesInstructions);
  }
}

TEST(CipherEngine, VectorRcKernelsFollowAvx2Alone) {
  if (Avx2RcKernels() == nullptr) GTEST_SKIP() << "this build has no AVX2 kernels";
  const CipherEngine& both = SelectEngine("", kEverything);
  EXPECT_EQ(both.rc, Avx2RcKernels());
  EXPECT_TRUE(both.wideVectors);
  const CipherEngine& avx2Only = SelectEngine("", CpuFeatures{false, false, false, true});
  EXPECT_EQ(avx2Only.rijndael, &TableRijndaelKernels());
  EXPECT_EQ(avx2Only.rc, Avx2RcKernels());
  CpuFeatures noAvx2 = kEverything;
  noAvx2.avx2 = false;
  EXPECT_EQ(SelectEngine("", noAvx2).rc, &ScalarRcKernels());
}

TEST(CipherEngine, ActiveEngineFollowsTheEnvironmentVariable) {
  // CTest runs this program both with and without the variable.
  const char* setting = std::getenv(kCipherEngineVariable);
  if (setting != nullptr && std::string(setting) == "portable")
    EXPECT_EQ(&ActiveEngine(), &PortableEngine());
  else
    EXPECT_EQ(&ActiveEngine(), &FastestEngine());
}

#if defined(__x86_64__) || defined(__i386__)
TEST(CpuFeatures, AgreeWithTheCompilersOwnDetection) {
  const CpuFeatures f = DetectCpuFeatures();
  EXPECT_EQ(f.aes, __builtin_cpu_supports("aes") != 0);
  EXPECT_EQ(f.ssse3, __builtin_cpu_supports("ssse3") != 0);
  EXPECT_EQ(f.sse41, __builtin_cpu_supports("sse4.1") != 0);
  EXPECT_EQ(f.avx2, __builtin_cpu_supports("avx2") != 0);
}
#endif

}  // namespace
}  // namespace cipher::test
