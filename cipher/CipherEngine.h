// Which implementation of the block ciphers' work a call uses, chosen once per process.
#pragma once

#include <string_view>

#include "cipher/CpuFeatures.h"
#include "cipher/RcKernels.h"
#include "cipher/RijndaelKernels.h"

namespace cipher {

// CipherEngine: one implementation of every block cipher's work. Key objects,
// ciphertexts and results are byte-identical whichever engine makes them;
// only speed and the constant-time property differ.
struct CipherEngine {
  const RijndaelKernels* rijndael;
  const RcKernels* rc;
  bool aesInstructions;  // Rijndael on the AES instructions (constant time)
  bool wideVectors;      // RC5 and RC6 on 256-bit vectors
};

// kCipherEngineVariable: the environment variable that, set to "portable",
// keeps a process on the portable code (lookup tables, one block at a time)
// even where the processor could do better, so both can be compared on one
// machine. Any other value, or none, takes the fastest the processor offers.
inline constexpr const char* kCipherEngineVariable = "QM_CIPHER_ENGINE";

// PortableEngine: the table-driven Rijndael and scalar RC5/RC6, on any processor.
const CipherEngine& PortableEngine();

// SelectEngine: the engine for a setting of kCipherEngineVariable (empty
// when unset) on a processor with the given features. Returns a reference to
// one of a few static engines.
const CipherEngine& SelectEngine(std::string_view setting, const CpuFeatures& cpu);

// FastestEngine: the best engine for the processor this process runs on.
const CipherEngine& FastestEngine();

// ActiveEngine: the engine every unqualified cipher call uses, chosen at the
// first call from the processor and kCipherEngineVariable and fixed for the
// rest of the process (a constant, not state that callers could change).
const CipherEngine& ActiveEngine();

}  // namespace cipher
