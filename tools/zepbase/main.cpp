// zepbase: makes, signs, checks and lists virus base files, and generates the signing key.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

#include "platform/Text.h"
#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/SignatureTrailer.h"
#include "tools/zepbase/BaseList.h"
#include "tools/zepbase/PrivateKey.h"
#include "tools/zepbase/Signer.h"

namespace {

using namespace zepbase;

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Who may read a written file: a private key is for its owner only.
enum class Access { kShared, kOwnerOnly };

bool WriteFile(const std::string& path, std::string_view data, Access access = Access::kShared) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  if (access == Access::kOwnerOnly) {
    // Narrowed while the file is still empty, before the secret is written.
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                    error);
    if (error) return false;
  }
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out.flush());
}

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

int Fail(const std::string& message) {
  std::cerr << "zepbase: " << message << "\n";
  return 1;
}

bool LoadKey(const std::string& path, PrivateKey& key, std::string& error) {
  std::string text;
  if (!ReadFile(path, text)) {
    error = "cannot read key file " + path;
    return false;
  }
  error = ParsePrivateKey(text, key);
  if (!error.empty()) error = path + ": " + error;
  return error.empty();
}

// Signs content and checks the result with the key's own public side, so a
// file the scanner would reject is never written.
int SignAndWrite(const PrivateKey& key, const std::vector<uint8_t>& content,
                 const std::string& output) {
  Signer signer(key);
  const std::vector<uint8_t> signedBase = signer.Sign(content);
  const int check = scanner::CheckSignatureWith(signedBase, signer.publicKey(), signer.group());
  if (check != 0)
    return Fail("the signed file does not verify (" + std::to_string(check) + ", " +
                scanner::SignatureResultText(check) + ")");
  if (!WriteFile(output, AsText(signedBase))) return Fail("cannot write " + output);
  return 0;
}

int Keygen(const std::string& privatePath, const std::string& sourcePath,
           const std::string& identifier) {
  if (identifier.size() != scanner::kKeyIdLength)
    return Fail("the identifier must be exactly 24 bytes");
  Random random;
  const PrivateKey key = GenerateKey(identifier, random);
  if (!WriteFile(privatePath, FormatPrivateKey(key), Access::kOwnerOnly))
    return Fail("cannot write " + privatePath);
  if (!WriteFile(sourcePath, BuiltinKeySource(key))) return Fail("cannot write " + sourcePath);
  std::cout << "private key: " << privatePath << "\npublic key source: " << sourcePath << "\n";
  return 0;
}

int Build(const std::string& listPath, const std::string& output, const std::string& keyPath) {
  PrivateKey key;
  std::string error;
  if (!LoadKey(keyPath, key, error)) return Fail(error);
  std::string text;
  if (!ReadFile(listPath, text)) return Fail("cannot read " + listPath);
  BaseList list;
  if (std::string e = ParseBaseList(text, list); !e.empty()) return Fail(listPath + ": " + e);
  if (int r = SignAndWrite(key, BuildBaseContent(list), output); r != 0) return r;
  std::cout << output << ": " << list.entries.size() << " records\n";
  return 0;
}

int Sign(const std::string& input, const std::string& output, const std::string& keyPath) {
  PrivateKey key;
  std::string error;
  if (!LoadKey(keyPath, key, error)) return Fail(error);
  std::string text;
  if (!ReadFile(input, text)) return Fail("cannot read " + input);
  std::vector<uint8_t> content(text.begin(), text.end());
  // An existing trailer is replaced.
  const scanner::Trailer trailer = scanner::FindTrailer(content);
  if (trailer.blockCount > 0) content.resize(trailer.start);
  return SignAndWrite(key, content, output.empty() ? input : output);
}

int Verify(const std::string& path) {
  const int result = scanner::CheckSignature(path);
  std::cout << result << " " << scanner::SignatureResultText(result) << "\n";
  return result == 0 ? 0 : 1;
}

int List(const std::string& path) {
  scanner::VirusBase base;
  const int result = scanner::LoadBase(base, path);
  std::cout << "result: " << result << "\ncount: " << base.virusCount << "\n";
  std::vector<const scanner::VirusRecord*> records;  // the list holds file order reversed
  for (const scanner::VirusRecord* r = base.head; r != nullptr; r = r->next) records.push_back(r);
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    std::cout << platform::Utf16ToUtf8((*it)->nameText()) << "\t" << (*it)->signatureLength << "\t"
              << platform::Utf16ToUtf8((*it)->descriptionText()) << "\n";
  }
  return result == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zepbase: builds, signs, verifies and lists virus base files"};
  app.require_subcommand(1);

  std::string privatePath, sourcePath, identifier = kDefaultIdentifier;
  auto* keygen = app.add_subcommand("keygen", "generate a signing key pair");
  keygen->add_option("--private-key", privatePath, "private key file to write")->required();
  keygen->add_option("--source", sourcePath, "C++ source of the built-in public key to write")
      ->required();
  keygen->add_option("--identifier", identifier, "24-byte key identifier");

  std::string listPath, output, keyPath;
  auto* build = app.add_subcommand("build", "build and sign a base from a list");
  build->add_option("LIST", listPath, "record list")->required();
  build->add_option("-o,--output", output, "base file to write")->required();
  build->add_option("--key", keyPath, "private key file")->required();

  std::string input;
  auto* sign = app.add_subcommand("sign", "sign a file, replacing any trailer");
  sign->add_option("FILE", input, "file to sign")->required();
  sign->add_option("-o,--output", output, "signed file (default: in place)");
  sign->add_option("--key", keyPath, "private key file")->required();

  auto* verify = app.add_subcommand("verify", "check a file's signature with the built-in key");
  verify->add_option("FILE", input, "file to check")->required();

  auto* list = app.add_subcommand("list", "load a base and list its records");
  list->add_option("FILE", input, "base file")->required();

  CLI11_PARSE(app, argc, argv);
  if (*keygen) return Keygen(privatePath, sourcePath, identifier);
  if (*build) return Build(listPath, output, keyPath);
  if (*sign) return Sign(input, output, keyPath);
  if (*verify) return Verify(input);
  return List(input);
}
